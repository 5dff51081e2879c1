#include "platform/qt/qt_adapter.h"

#include "platform/qt/menu_accessible.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/widgets.h"

#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace platform::qt {

namespace {

int Px(int twips) { return twips / kTwipsPerPixel; }

QString Shown(const QString& caption) {
  QString text = caption;
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

Qt::Alignment ToQt(Alignment a) {
  switch (a) {
    case Alignment::Center: return Qt::AlignCenter;
    case Alignment::Right: return Qt::AlignRight | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignTop;
  }
}

// Colours and weight as the model says; the theme's where it says nothing.
void ApplyLook(QWidget* w, const Control& c, QPalette::ColorRole back, QPalette::ColorRole fore) {
  QPalette palette = w->parentWidget() ? w->parentWidget()->palette() : w->palette();
  if (c.BackColor != kSystemColor) palette.setColor(back, ToQColor(c.BackColor));
  if (c.ForeColor != kSystemColor) palette.setColor(fore, ToQColor(c.ForeColor));
  if (palette != w->palette()) w->setPalette(palette);
  w->setAutoFillBackground(c.BackColor != kSystemColor);
  if (w->font().bold() != c.FontBold || w->font().pointSizeF() != c.FontSize) {
    QFont font = w->font();
    font.setBold(c.FontBold);
    font.setPointSizeF(c.FontSize);
    w->setFont(font);
  }
}

// The focus a control's widget takes while the user can reach it. Labels
// take it from the keyboard alone: a click on a day cell must not take it
// from the box being typed in.
Qt::FocusPolicy ReachableFocus(const Control& c) {
  switch (c.kind) {
    case Kind::Label: return c.TabStop ? Qt::TabFocus : Qt::NoFocus;
    case Kind::TextBox: return static_cast<const TextBox&>(c).Locked ? Qt::NoFocus : Qt::StrongFocus;
    case Kind::ListBox:
    case Kind::CommandButton: return Qt::StrongFocus;
    default: return Qt::NoFocus;
  }
}

// Text set by the program puts the caret at the start, except where it only
// dropped characters the box showed (a character the files cannot store):
// then the caret stays where it was, less what was dropped before it, so
// the next keys land after what was typed.
int CaretAfterDrop(const QString& shown, int caret, const QString& kept) {
  int dropped = 0, k = 0;
  for (int i = 0; i < shown.size(); ++i) {
    if (k < kept.size() && shown[i] == kept[k]) {
      ++k;
    } else if (i < caret) {
      ++dropped;
    }
  }
  return k == kept.size() ? caret - dropped : 0;
}

}  // namespace

// The window of one form: its widgets, menu actions and timers.
class FormWindow : public QMainWindow {
 public:
  FormWindow(Form& form, QtAdapter& adapter);

  void Sync();
  QWidget* WidgetOf(const Control& c) const {
    auto it = widgets_.find(&c);
    return it == widgets_.end() ? nullptr : it->second;
  }
  QAction* ActionOf(const Menu& m) const {
    auto it = actions_.find(&m);
    return it == actions_.end() ? nullptr : it->second;
  }
  // Stops the timers of a window whose form was unloaded.
  void Retire();
  bool Retired() const { return retired_; }
  bool syncing = false;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  struct TimerBinding {
    platform::Timer* model;
    QTimer* timer;
  };
  void SyncControl(Control& c, QWidget* w);
  void SyncTimer(TimerBinding& t);
  void SyncGeometry();

  Form& form_;
  Dispatcher dispatch_;
  ClientWidget* client_;
  std::map<const Control*, QWidget*> widgets_;
  std::map<const Menu*, QAction*> actions_;
  std::vector<TimerBinding> timers_;
  bool retired_ = false;
  bool fixedFlagsApplied_ = false;
};

FormWindow::FormWindow(Form& form, QtAdapter& adapter)
    : form_(form),
      dispatch_([&adapter, this](const std::function<void()>& event, bool now) {
        return adapter.Run(this, event, now);
      }) {
  setObjectName(form.Name);
  client_ = new ClientWidget(&form, dispatch_);
  client_->setObjectName(form.Name + QStringLiteral(".client"));
  setCentralWidget(client_);

  for (Control* c : form.Controls) {
    QWidget* parent = c->Container ? widgets_.at(c->Container) : client_;
    QWidget* w = nullptr;
    switch (c->kind) {
      case Kind::Label: w = new LabelWidget(static_cast<Label*>(c), dispatch_, parent); break;
      case Kind::TextBox: w = new TextBoxWidget(static_cast<TextBox*>(c), dispatch_, parent); break;
      case Kind::ListBox: w = new ListBoxWidget(static_cast<ListBox*>(c), dispatch_, parent); break;
      case Kind::CommandButton: w = new ButtonWidget(static_cast<CommandButton*>(c), dispatch_, parent); break;
      case Kind::Shape: w = new ShapeWidget(static_cast<Shape*>(c), parent); break;
      case Kind::Frame:
      case Kind::Image: w = new QWidget(parent); break;
    }
    w->setObjectName(c->Name);
    w->setAccessibleDescription(c->Name);
    widgets_[c] = w;
  }

  for (Menu* m : form.MenuBar) {
    QAction* action = menuBar()->addAction(m->Caption);
    action->setObjectName(m->Name);
    connect(action, &QAction::triggered, this, [this, m] { dispatch_([m] { m->Click(); }); });
    actions_[m] = action;
  }
  if (form.MenuBar.empty()) menuBar()->hide();

  for (platform::Timer* t : form.Timers) {
    auto* timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(true);
    timers_.push_back({t, timer});
    connect(timer, &QTimer::timeout, this, [this, &adapter, t, timer] {
      adapter.Run(this, [t] { t->Tick(); }, false, t);
      // Re-armed from this tick with whatever interval the tick left.
      if (!retired_ && t->Enabled && t->Interval > 0) timer->start(t->Interval);
    });
  }

  Qt::WindowFlags flags = windowFlags();
  if (form.Frameless) flags |= Qt::FramelessWindowHint;
  if (form.ToolWindow) {
    flags |= Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
    setAttribute(Qt::WA_ShowWithoutActivating);
  }
  setWindowFlags(flags);
  Sync();
}

void FormWindow::Retire() {
  retired_ = true;
  for (TimerBinding& t : timers_) t.timer->stop();
  hide();
}

void FormWindow::SyncGeometry() {
  const int clientWidth = Px(form_.Width), clientHeight = Px(form_.ClientHeight());
  if (client_->size() != QSize(clientWidth, clientHeight)) client_->setFixedSize(clientWidth, clientHeight);
  if (form_.FixedSize) {
    if (!fixedFlagsApplied_) {
      // Title, system menu, minimise and close: no maximise.
      fixedFlagsApplied_ = true;
      setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                     Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    }
    layout()->setSizeConstraint(QLayout::SetFixedSize);
  } else {
    resize(sizeHint());
  }
  const QPoint place(Px(form_.Left), Px(form_.Top));
  if (geometry().topLeft() != place) setGeometry(QRect(place, size()));
}

void FormWindow::Sync() {
  syncing = true;
  if (windowTitle() != form_.Caption) setWindowTitle(form_.Caption);
  for (Control* c : form_.Controls) SyncControl(*c, widgets_.at(c));
  for (auto& [menu, action] : actions_) {
    if (action->text() != menu->Caption) action->setText(menu->Caption);
    action->setEnabled(menu->Enabled);
    action->setVisible(menu->Visible);
  }
  for (TimerBinding& t : timers_) SyncTimer(t);
  SyncGeometry();
  if (form_.Visible) {
    if (form_.State == WindowState::Minimized) {
      if (!isMinimized()) showMinimized();
    } else if (!isVisible() || isMinimized()) {
      showNormal();
    }
  } else if (isVisible()) {
    hide();
  }
  syncing = false;
}

void FormWindow::SyncTimer(TimerBinding& t) {
  const bool run = t.model->Enabled && t.model->Interval > 0;
  if (!run) {
    t.timer->stop();
  } else if (!t.timer->isActive() || t.timer->interval() != t.model->Interval) {
    t.timer->start(t.model->Interval);
  }
}

void FormWindow::SyncControl(Control& c, QWidget* w) {
  const QRect geometry(Px(c.Left), Px(c.Top), Px(c.Width), Px(c.Height));
  if (w->geometry() != geometry) w->setGeometry(geometry);
  if (w->toolTip() != c.ToolTipText) w->setToolTip(c.ToolTipText);
  if (w->isEnabled() != c.Enabled) w->setEnabled(c.Enabled);

  switch (c.kind) {
    case Kind::Label: {
      auto& label = static_cast<Label&>(c);
      auto* l = static_cast<QLabel*>(w);
      const QString text = Shown(label.Caption);
      if (l->text() != text) {
        l->setText(text);
        l->setAccessibleName(text);
      }
      if (l->alignment() != ToQt(label.Align)) l->setAlignment(ToQt(label.Align));
      if (l->wordWrap() != label.WordWrap) l->setWordWrap(label.WordWrap);
      ApplyLook(w, c, QPalette::Window, QPalette::WindowText);
      break;
    }
    case Kind::TextBox: {
      auto& box = static_cast<TextBox&>(c);
      auto* e = static_cast<QLineEdit*>(w);
      if (e->text() != box.Text()) {
        const int caret = CaretAfterDrop(e->text(), e->cursorPosition(), box.Text());
        e->setText(box.Text());
        e->setCursorPosition(caret);
        e->setAccessibleName(box.Text());
      }
      e->setReadOnly(box.Locked);
      ApplyLook(w, c, QPalette::Base, QPalette::Text);
      break;
    }
    case Kind::ListBox: {
      auto& list = static_cast<ListBox&>(c);
      auto* lw = static_cast<ListBoxWidget*>(w);
      lw->ShowItems(list.List);
      lw->ShowSelection(list.ListIndex);
      ApplyLook(w, c, QPalette::Base, QPalette::Text);
      break;
    }
    case Kind::CommandButton: {
      auto* b = static_cast<QPushButton*>(w);
      const QString& caption = static_cast<CommandButton&>(c).Caption;
      if (b->text() != caption) {
        b->setText(caption);
        b->setAccessibleName(caption);
      }
      break;
    }
    case Kind::Shape:
      w->update();
      break;
    case Kind::Frame:
      // A frame hides what lies behind it.
      ApplyLook(w, c, QPalette::Window, QPalette::WindowText);
      w->setAutoFillBackground(true);
      break;
    case Kind::Image:
      ApplyLook(w, c, QPalette::Window, QPalette::WindowText);
      break;
  }
  if (w->isVisibleTo(w->parentWidget()) != c.Visible) w->setVisible(c.Visible);
  const Qt::FocusPolicy focus = form_.CanTakeFocus(c) ? ReachableFocus(c) : Qt::NoFocus;
  if (w->focusPolicy() != focus) w->setFocusPolicy(focus);
  // Out of the user's reach, it gives the focus up.
  if (focus == Qt::NoFocus && w->hasFocus()) w->clearFocus();
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The close box asks the logic; without an answer the window stays, and
  // so it does while the window is busy with a box or another event.
  auto cancel = std::make_shared<bool>(!form_.QueryUnload.handler);
  if (!*cancel) {
    Form* f = &form_;
    if (!dispatch_.Now([f, cancel] { f->QueryUnload(*cancel); })) *cancel = true;
  }
  if (*cancel) event->ignore();
  else event->accept();
}

void FormWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || syncing) return;
  // The user minimised or restored the window.
  Form* f = &form_;
  const WindowState state = isMinimized() ? WindowState::Minimized : WindowState::Normal;
  dispatch_([f, state] {
    f->State = state;
    f->Resize();
  });
}

void FormWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // The user moved the window: the model follows. A window without a frame
  // cannot be dragged; where the window manager puts it is not the model's
  // place, which alone drives its movement.
  if (syncing || !isVisible() || form_.Frameless) return;
  // A place is where the client area stands: the window system reports it
  // exactly, while the frame's place is only guessed until the window
  // manager has framed the window, and a guess handed from one window to
  // the other made them creep by a title bar's height. The windows that
  // hand places over wear the same frame, so each still comes back exactly
  // where the other stood.
  form_.Left = geometry().x() * kTwipsPerPixel;
  form_.Top = geometry().y() * kTwipsPerPixel;
}

QtAdapter::QtAdapter(Desktop& desktop) : desktop_(desktop) { InstallMenuAccessibility(); }

QtAdapter::~QtAdapter() {
  // Windows going away lose the focus and are closed: none of that is the
  // user's, and the logic may already be gone.
  syncing_ = true;
  windows_.clear();
}

void QtAdapter::Dispatch(const std::function<void()>& event) { Run(nullptr, event, false); }

bool QtAdapter::Run(FormWindow* window, const std::function<void()>& event, bool now, const platform::Timer* tick) {
  // Widgets report their own changes while they are being brought in line;
  // those are not the user's. A retired window's form is gone.
  if (syncing_ || (window && window->Retired())) return false;
  // One event at a time: what arrives during another one runs after it. A
  // modal box or menu holds the events of its own window until it closes;
  // the events of other windows run on inside it.
  const bool held = window ? ModalScope::Holds(window) : ModalScope::Active();
  if ((running_ && !ModalScope::Active()) || held) {
    if (now) return false;
    const bool tickWaits = tick && std::any_of(waiting_.begin(), waiting_.end(), [&](const Waiting& w) {
                             return w.tick == tick && w.window == window;
                           });
    if (!tickWaits) waiting_.push_back({window, window == nullptr, tick, event});
    return false;
  }
  // A tick that runs now makes one still waiting for the same timer stale.
  if (tick) std::erase_if(waiting_, [&](const Waiting& w) { return w.tick == tick && w.window == window; });
  const bool outer = !running_;
  running_ = true;
  event();
  Reap();
  if (outer) {
    while (!waiting_.empty()) {
      const Waiting next = std::move(waiting_.front());
      waiting_.pop_front();
      if (!next.windowless && (!next.window || next.window->Retired())) continue;
      next.event();
      Reap();
    }
    running_ = false;
  }
  Sync();
  return true;
}

void QtAdapter::Reap() {
  const bool wasSyncing = std::exchange(syncing_, true);
  const std::vector<Form*> loaded = desktop_.LoadedForms();
  for (auto it = windows_.begin(); it != windows_.end();) {
    if (std::find(loaded.begin(), loaded.end(), it->first) == loaded.end()) {
      // Unloaded: the window goes once the event that unloaded it is over.
      it->second->Retire();
      it->second.release()->deleteLater();
      it = windows_.erase(it);
    } else {
      ++it;
    }
  }
  syncing_ = wasSyncing;
}

void QtAdapter::Sync() {
  Reap();
  syncing_ = true;
  for (Form* form : desktop_.LoadedForms()) {
    auto& window = windows_[form];
    if (!window) {
      window = std::make_unique<FormWindow>(*form, *this);
    } else if (!ModalScope::Holds(window.get())) {
      // A window under its own box is brought in line once the box closes.
      window->Sync();
    }
  }
  syncing_ = false;
}

QWidget* QtAdapter::WidgetOf(const Control& control) const {
  for (auto& [form, window] : windows_) {
    if (QWidget* w = window->WidgetOf(control)) return w;
  }
  return nullptr;
}

QWidget* QtAdapter::WindowOf(const Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second.get();
}

QAction* QtAdapter::ActionOf(const Menu& menu) const {
  for (auto& [form, window] : windows_) {
    if (QAction* a = window->ActionOf(menu)) return a;
  }
  return nullptr;
}

}  // namespace platform::qt
