#pragma once
// The end of the user's session as the program sees it: the application
// told to quit (the session manager's last word at log-off or system
// shutdown) and SIGTERM, SIGINT or SIGHUP. Each of them calls one function on
// the user-interface thread; a signal only writes a byte into a pipe, which
// the event loop reads, because nothing else is safe inside a handler.
//
// The session manager's request to commit the data is no end: it also comes
// for a session save and for a log-off that is cancelled later, and every
// change is on the disk already.

#include <QObject>

#include <functional>

class QGuiApplication;
class QSocketNotifier;

namespace platform::qt {

class SessionEnd : public QObject {
 public:
  // Installs the signal handlers; one object per process.
  SessionEnd(QGuiApplication& application, std::function<void()> onEnd);
  ~SessionEnd() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Nobody is left to answer a box or menu: they close as declined first,
  // so that the end does not wait behind them.
  void End();

  QGuiApplication& application_;
  std::function<void()> onEnd_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace platform::qt
