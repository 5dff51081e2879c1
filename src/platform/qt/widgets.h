#pragma once
// The widgets that draw model controls. Each knows its control and hands its
// user events to the adapter, which runs them as logic events.

#include "platform/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace platform::qt {

// A model colour (0xRRGGBB) as Qt draws it.
QColor ToQColor(Color c);

// Runs the logic events of one window and brings the widgets in line
// afterwards. An event that cannot run at once (another one is running, or a
// modal box or menu of its window is open) waits, so it must own everything
// it uses; one whose result the widget needs at once runs now or not at all.
class Dispatcher {
 public:
  using Run = std::function<bool(const std::function<void()>& event, bool now)>;
  explicit Dispatcher(Run run) : run_(std::move(run)) {}
  void operator()(const std::function<void()>& event) const { run_(event, false); }
  // False when the event could not run now; it is then dropped.
  bool Now(const std::function<void()>& event) const { return run_(event, true); }

 private:
  Run run_;
};

// Raises a control's mouse events in twips, as the logic expects them.
class MouseSource {
 public:
  MouseSource(Control* control, Dispatcher dispatch) : control_(control), dispatch_(std::move(dispatch)) {}

 protected:
  void Press(QMouseEvent* event);
  void Release(QMouseEvent* event);
  void Move(QMouseEvent* event);
  void DoubleClick(QMouseEvent* event);
  // The keys that stand for the mouse on a control the keyboard reaches:
  // Enter or Space is a click, Enter again on the control it clicked the
  // double click, the Menu key or Shift+F10 the right button going down.
  // False for any other key.
  bool Key(QKeyEvent* event, const QWidget* self);

  Control* control_;
  Dispatcher dispatch_;
  bool inDoubleClick_ = false;
  // The control the last click by key went to, while nothing came between:
  // a mouse press or a move of the focus ends the pair.
  static inline const Control* keyClicked_ = nullptr;
};

class LabelWidget : public QLabel, MouseSource {
 public:
  LabelWidget(Label* label, Dispatcher dispatch, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override { Press(event); }
  void mouseReleaseEvent(QMouseEvent* event) override { Release(event); }
  void mouseMoveEvent(QMouseEvent* event) override { Move(event); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { DoubleClick(event); }
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // The label of the same control array that an arrow key leads to, or null.
  LabelWidget* Neighbour(int key) const;
};

class ShapeWidget : public QWidget {
 public:
  ShapeWidget(Shape* shape, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Shape* shape_;
};

// The form's own surface: its mouse moves are the form's.
class ClientWidget : public QWidget {
 public:
  ClientWidget(Form* form, Dispatcher dispatch);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  Form* form_;
  Dispatcher dispatch_;
};

class TextBoxWidget : public QLineEdit {
 public:
  TextBoxWidget(TextBox* box, Dispatcher dispatch, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Asks the model about one typed character; returns the code to insert, or 0.
  int KeyPress(int code);

  TextBox* box_;
  Dispatcher dispatch_;
};

class ListBoxWidget : public QListWidget {
 public:
  ListBoxWidget(ListBox* list, Dispatcher dispatch, QWidget* parent);
  // Shows the model's items, and repaints the whole list when they changed.
  void ShowItems(const QStringList& items);
  // Shows the model's selection: the item at index, or none for -1.
  void ShowSelection(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The selected item's row, or -1; never the row that only has the focus.
  int SelectedRow() const;

  ListBox* list_;
  Dispatcher dispatch_;
};

class ButtonWidget : public QPushButton {
 public:
  ButtonWidget(CommandButton* button, Dispatcher dispatch, QWidget* parent);
};

}  // namespace platform::qt
