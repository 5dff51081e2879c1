#pragma once
// The widgets that draw model controls. Each knows its control and hands its
// user events to the adapter, which runs them as logic events.

#include "ui/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace ui::qt {

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

  Control* control_;
  Dispatcher dispatch_;
  bool inDoubleClick_ = false;
};

class LabelWidget : public QLabel, MouseSource {
 public:
  LabelWidget(Label* label, Dispatcher dispatch, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override { Press(event); }
  void mouseReleaseEvent(QMouseEvent* event) override { Release(event); }
  void mouseMoveEvent(QMouseEvent* event) override { Move(event); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { DoubleClick(event); }
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

}  // namespace ui::qt
