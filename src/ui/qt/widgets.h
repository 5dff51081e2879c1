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

// Runs a logic event and brings the widgets in line afterwards.
using Dispatcher = std::function<void(const std::function<void()>&)>;

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

 private:
  ListBox* list_;
  Dispatcher dispatch_;
};

class ButtonWidget : public QPushButton {
 public:
  ButtonWidget(CommandButton* button, Dispatcher dispatch, QWidget* parent);
};

}  // namespace ui::qt
