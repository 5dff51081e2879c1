#include "platform/qt/widgets.h"

#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <limits>
#include <memory>
#include <utility>

namespace platform::qt {

namespace {

int ButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return kLeftButton;
    case Qt::RightButton: return kRightButton;
    case Qt::MiddleButton: return 4;
    default: return 0;
  }
}

int ButtonsCode(Qt::MouseButtons buttons) {
  return ((buttons & Qt::LeftButton) ? kLeftButton : 0) | ((buttons & Qt::RightButton) ? kRightButton : 0) |
         ((buttons & Qt::MiddleButton) ? 4 : 0);
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
  return ((modifiers & Qt::ShiftModifier) ? 1 : 0) | ((modifiers & Qt::ControlModifier) ? 2 : 0) |
         ((modifiers & Qt::AltModifier) ? 4 : 0);
}

float Twips(qreal pixels) { return float(pixels * kTwipsPerPixel); }

// Raises a model mouse event with the shift keys and the position in twips.
void RaiseMouse(const Dispatcher& dispatch, const MouseEvent& target, int button, const QMouseEvent* event) {
  const int shift = ShiftCode(event->modifiers());
  const float x = Twips(event->position().x()), y = Twips(event->position().y());
  dispatch([&target, button, shift, x, y] { target(button, shift, x, y); });
}

}  // namespace

QColor ToQColor(Color c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

void MouseSource::Press(QMouseEvent* event) {
  keyClicked_ = nullptr;
  RaiseMouse(dispatch_, control_->MouseDown, ButtonCode(event->button()), event);
}

void MouseSource::Release(QMouseEvent* event) {
  const int button = ButtonCode(event->button());
  RaiseMouse(dispatch_, control_->MouseUp, button, event);
  Control* c = control_;
  // A click is a left-button release over the control; the release that ends
  // a double click is no second click.
  const bool endsDoubleClick = std::exchange(inDoubleClick_, false);
  if (button == kLeftButton && !endsDoubleClick && event->position().x() >= 0 && event->position().y() >= 0 &&
      event->position().x() < c->Width / double(kTwipsPerPixel) &&
      event->position().y() < c->Height / double(kTwipsPerPixel)) {
    dispatch_([c] { c->Click(); });
  }
}

void MouseSource::Move(QMouseEvent* event) {
  RaiseMouse(dispatch_, control_->MouseMove, ButtonsCode(event->buttons()), event);
}

void MouseSource::DoubleClick(QMouseEvent* event) {
  Control* c = control_;
  if (event->button() != Qt::LeftButton) return;
  inDoubleClick_ = true;
  dispatch_([c] { c->DblClick(); });
}

bool MouseSource::Key(QKeyEvent* event, const QWidget* self) {
  Control* c = control_;
  const int key = event->key();
  if (key == Qt::Key_Menu || (key == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
    keyClicked_ = nullptr;
    const QPoint place = self->mapToGlobal(QPoint(0, self->height()));
    const float x = Twips(self->width() / 2.0), y = Twips(self->height() / 2.0);
    dispatch_([c, place, x, y] {
      PopupPlace at(place);
      c->MouseDown(kRightButton, 0, x, y);
    });
    return true;
  }
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if ((!enter && key != Qt::Key_Space) || (event->modifiers() & ~Qt::KeypadModifier)) return false;
  // A held key is one press, not a stream of clicks.
  if (event->isAutoRepeat()) return true;
  if (enter && keyClicked_ == c && c->DblClick.handler) {
    dispatch_([c] { c->DblClick(); });
  } else {
    keyClicked_ = c;
    dispatch_([c] { c->Click(); });
  }
  return true;
}

LabelWidget::LabelWidget(Label* label, Dispatcher dispatch, QWidget* parent)
    : QLabel(parent), MouseSource(label, std::move(dispatch)) {
  setMouseTracking(true);
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
}

void LabelWidget::keyPressEvent(QKeyEvent* event) {
  if (Key(event, this)) return;
  if (event->modifiers() == Qt::NoModifier) {
    if (LabelWidget* next = Neighbour(event->key())) {
      next->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
  QLabel::keyPressEvent(event);
}

LabelWidget* LabelWidget::Neighbour(int key) const {
  // Left and Right step through the array in its order (a week row, then the
  // next); Up and Down keep the column. Unreachable labels are passed over.
  const QString& name = control_->Name;
  const QString base = name.left(name.indexOf('('));
  if (base.isEmpty() || !parentWidget()) return nullptr;
  LabelWidget* best = nullptr;
  const auto index = [](const LabelWidget* w) {
    const QString& n = w->control_->Name;
    return n.mid(n.indexOf('(') + 1).chopped(1).toInt();
  };
  const int here = index(this);
  for (auto* w : parentWidget()->findChildren<LabelWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w == this || !w->control_->Name.startsWith(base + '(') || w->focusPolicy() == Qt::NoFocus) continue;
    const int there = index(w);
    bool closer = false;
    switch (key) {
      case Qt::Key_Left: closer = there < here && (!best || there > index(best)); break;
      case Qt::Key_Right: closer = there > here && (!best || there < index(best)); break;
      case Qt::Key_Up: closer = w->x() == x() && w->y() < y() && (!best || w->y() > best->y()); break;
      case Qt::Key_Down: closer = w->x() == x() && w->y() > y() && (!best || w->y() < best->y()); break;
      default: return nullptr;
    }
    if (closer) best = w;
  }
  return best;
}

void LabelWidget::focusInEvent(QFocusEvent* event) {
  QLabel::focusInEvent(event);
  update();
}

void LabelWidget::focusOutEvent(QFocusEvent* event) {
  QLabel::focusOutEvent(event);
  if (keyClicked_ == control_) keyClicked_ = nullptr;
  update();
}

void LabelWidget::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  // The focus mark: a dotted frame in the label's own text colour, so the
  // label keeps its colours.
  QPainter p(this);
  p.setPen(QPen(palette().color(foregroundRole()), 1, Qt::DotLine));
  p.drawRect(rect().adjusted(1, 1, -2, -2));
}

ShapeWidget::ShapeWidget(Shape* shape, QWidget* parent) : QWidget(parent), shape_(shape) {
  // Shapes take no mouse events: the surface under them does.
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (shape_->Filled && shape_->BackColor != kSystemColor) p.fillRect(rect(), ToQColor(shape_->BackColor));
  QPen pen(ToQColor(shape_->BorderColor), 1, shape_->Filled ? Qt::SolidLine : Qt::DashLine);
  pen.setJoinStyle(Qt::MiterJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  // The line runs half a pixel inside the edges, so that it covers whole
  // device pixels at any scale: on the edge itself, at a scale such as 1.5,
  // it may fall between pixels and not be drawn at all.
  p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

ClientWidget::ClientWidget(Form* form, Dispatcher dispatch) : form_(form), dispatch_(std::move(dispatch)) {
  setMouseTracking(true);
}

void ClientWidget::mouseMoveEvent(QMouseEvent* event) {
  RaiseMouse(dispatch_, form_->MouseMove, ButtonsCode(event->buttons()), event);
}

TextBoxWidget::TextBoxWidget(TextBox* box, Dispatcher dispatch, QWidget* parent)
    : QLineEdit(parent), box_(box), dispatch_(std::move(dispatch)) {
  // No cap of its own: a day note longer than Qt's default 32767 characters
  // must come back whole when it is saved.
  setMaxLength(std::numeric_limits<int>::max());
  connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
    TextBox* b = box_;
    dispatch_([b, text] { b->SetText(text); });
  });
}

int TextBoxWidget::KeyPress(int code) {
  TextBox* b = box_;
  // The model decides on the key before the box sees it; a key that arrives
  // while the window is busy cannot wait for that, so it is refused.
  auto key = std::make_shared<int>(code);
  if (!dispatch_.Now([b, key] { b->KeyPress(*key); })) return 0;
  return *key;
}

namespace {
// Keys that move the caret or delete: no characters the model filters.
// (Under X11 Delete also carries character 127.)
bool IsEditingKey(int key) {
  switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}
}  // namespace

void TextBoxWidget::keyPressEvent(QKeyEvent* event) {
  // The characters a key types reach the model first; editing keys and keys
  // that type nothing go straight to the box.
  int code = 0;
  if (event->key() == Qt::Key_Backspace) {
    code = 8;
  } else if (!IsEditingKey(event->key()) && !event->text().isEmpty()) {
    code = event->text().at(0).unicode();
  }
  if (code == 0) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const int kept = KeyPress(code);
  if (kept == code) {
    QLineEdit::keyPressEvent(event);
  } else if (kept != 0) {
    insert(QString(QChar(kept)));
    TextBox* b = box_;
    const QString now = text();
    dispatch_([b, now] { b->SetText(now); });
  }
}

void TextBoxWidget::inputMethodEvent(QInputMethodEvent* event) {
  // Text from an input method is typed text too: each character passes the filter.
  const QString commit = event->commitString();
  if (commit.isEmpty()) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  QString kept;
  for (QChar ch : commit) {
    if (const int code = KeyPress(ch.unicode()); code != 0) kept.append(QChar(code));
  }
  QInputMethodEvent filtered(event->preeditString(), event->attributes());
  filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
  QLineEdit::inputMethodEvent(&filtered);
}

void TextBoxWidget::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Leaving the box is the user's move to another control of this window; a
  // message box, a menu or another program taking the focus is not.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
  if (const QWidget* next = QApplication::focusWidget(); next && next->window() != window()) return;
  TextBox* b = box_;
  dispatch_([b] { b->LostFocus(); });
}

ListBoxWidget::ListBoxWidget(ListBox* list, Dispatcher dispatch, QWidget* parent)
    : QListWidget(parent), list_(list), dispatch_(std::move(dispatch)) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  // A long item is cut at the right edge: a scroll bar would take the rows
  // of a short list.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideNone);
  // A new selection, by mouse or keyboard, is the list's Click. The row that
  // merely holds the focus is no selection: Del must not take it.
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    ListBox* l = list_;
    const int row = SelectedRow();
    if (l->ListIndex == row) return;
    dispatch_([l, row] {
      l->ListIndex = row;
      l->Click();
    });
  });
  connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) {
    ListBox* l = list_;
    dispatch_([l] { l->DblClick(); });
  });
}

int ListBoxWidget::SelectedRow() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.first());
}

void ListBoxWidget::ShowItems(const QStringList& items) {
  bool same = count() == items.size();
  for (int i = 0; same && i < count(); ++i) same = item(i)->text() == items[i];
  if (same) return;
  clear();
  addItems(items);
  // Laid out and painted now, every row: a refill may leave fewer rows,
  // and rows the view did not know were stale would stay on the screen.
  doItemsLayout();
  viewport()->update();
}

void ListBoxWidget::ShowSelection(int index) {
  if (SelectedRow() == index) return;
  if (index < 0) {
    clearSelection();
    // The focus row goes too, so that the next Down starts at the top.
    setCurrentRow(-1, QItemSelectionModel::NoUpdate);
  } else {
    setCurrentRow(index);
  }
}

void ListBoxWidget::keyPressEvent(QKeyEvent* event) {
  // Taking the focus puts the focus row on the first item without choosing
  // it; the first Down then chooses that item instead of skipping it.
  if (event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier && SelectedRow() < 0 && count() > 0) {
    setCurrentRow(0);
    return;
  }
  QListWidget::keyPressEvent(event);
}

ButtonWidget::ButtonWidget(CommandButton* button, Dispatcher dispatch, QWidget* parent) : QPushButton(parent) {
  connect(this, &QPushButton::clicked, this, [button, dispatch] { dispatch([button] { button->Click(); }); });
}

}  // namespace platform::qt
