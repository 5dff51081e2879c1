#pragma once
// Draws the loaded forms of a Desktop with Qt widgets and feeds the widgets'
// events to the model. One widget per control; its accessible description is
// the control's name ("Label5(9)"), its accessible name what it shows. After
// every event it dispatched, every widget is brought in line with its model
// control. No logic lives here.

#include "ui/controls.h"

#include <QObject>

#include <deque>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QWidget;

namespace ui::qt {

class FormWindow;

class QtAdapter : public QObject {
 public:
  explicit QtAdapter(Desktop& desktop);
  ~QtAdapter() override;

  // Runs one logic event, then brings every window in line with the model.
  // While a modal box or menu is open, other events wait until it closes.
  void Dispatch(const std::function<void()>& event);
  void Sync();

  // For tests and tools: the widget that draws a control, the window of a form.
  QWidget* WidgetOf(const Control& control) const;
  QWidget* WindowOf(const Form& form) const;
  QAction* ActionOf(const Menu& menu) const;

 private:
  Desktop& desktop_;
  std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
  std::deque<std::function<void()>> pending_;
  bool running_ = false;
  bool syncing_ = false;
};

}  // namespace ui::qt
