#pragma once
// The end of the user's session as the program sees it: the session manager
// asking for the data at log-off or system shutdown, the application about
// to quit, and SIGTERM, SIGINT or SIGHUP. Each of them calls one function on
// the user-interface thread; a signal only writes a byte into a pipe, which
// the event loop reads, because nothing else is safe inside a handler.

#include <QObject>

#include <functional>

class QGuiApplication;
class QSocketNotifier;

namespace ui::qt {

class SessionEnd : public QObject {
 public:
  // Installs the signal handlers; one object per process.
  SessionEnd(QGuiApplication& application, std::function<void()> onEnd);
  ~SessionEnd() override;

 private:
  std::function<void()> onEnd_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace ui::qt
