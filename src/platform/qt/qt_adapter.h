#pragma once
// Draws the loaded forms of a Desktop with Qt widgets and feeds the widgets'
// events to the model. One widget per control; its accessible description is
// the control's name ("Label5(9)"), its accessible name what it shows. After
// every event it dispatched, every widget is brought in line with its model
// control. No logic lives here.

#include "platform/controls.h"

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QWidget;

namespace platform::qt {

class FormWindow;

class QtAdapter : public QObject {
 public:
  explicit QtAdapter(Desktop& desktop);
  ~QtAdapter() override;

  // Runs one logic event of no particular window (start, tray icon, a later
  // copy knocking), then brings every window in line with the model. While
  // a modal box or menu is open it waits until that closes.
  void Dispatch(const std::function<void()>& event);
  void Sync();

  // For tests and tools: the widget that draws a control, the window of a form.
  QWidget* WidgetOf(const Control& control) const;
  QWidget* WindowOf(const Form& form) const;
  QAction* ActionOf(const Menu& menu) const;

 private:
  friend class FormWindow;
  // An event that waits for its window, or for the event running now.
  struct Waiting {
    QPointer<FormWindow> window;  // becomes null when the window goes
    bool windowless;
    const platform::Timer* tick;  // a timer's tick: one waits at most per timer
    std::function<void()> event;
  };
  // Runs an event of a window (null: of none) now, or queues it unless told
  // it must run now. True when it ran.
  bool Run(FormWindow* window, const std::function<void()>& event, bool now, const platform::Timer* tick = nullptr);
  // Retires the windows of unloaded forms; their waiting events are dropped.
  void Reap();

  Desktop& desktop_;
  std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
  std::deque<Waiting> waiting_;
  bool running_ = false;
  bool syncing_ = false;
};

}  // namespace platform::qt
