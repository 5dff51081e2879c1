#include "platform/qt/session_end.h"

#include "platform/qt/qt_platform.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace platform::qt {

namespace {

int wakeFds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // A full pipe already holds a wake-up; losing this one changes nothing.
  [[maybe_unused]] const ssize_t n = ::write(wakeFds[1], &byte, 1);
  errno = saved;
}

}  // namespace

SessionEnd::SessionEnd(QGuiApplication& application, std::function<void()> onEnd)
    : application_(application), onEnd_(std::move(onEnd)) {
  if (::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) == 0) {
    notifier_ = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
      char bytes[16];
      while (::read(wakeFds[0], bytes, sizeof bytes) > 0) {
      }
      End();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
  }
  // Told to quit, the application would first ask every window to close,
  // and the main window answers a close by going to the tray: the quit is
  // taken here instead. The program ends itself once its books are closed.
  application.installEventFilter(this);
  connect(&application, &QGuiApplication::aboutToQuit, this, [this] { End(); });
}

bool SessionEnd::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &application_ || event->type() != QEvent::Quit) return false;
  End();
  return true;
}

void SessionEnd::End() {
  ModalScope::SetSessionEnding(true);
  onEnd_();
}

SessionEnd::~SessionEnd() {
  ModalScope::SetSessionEnding(false);
  if (wakeFds[0] < 0) return;
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
  ::close(wakeFds[0]);
  ::close(wakeFds[1]);
  wakeFds[0] = wakeFds[1] = -1;
}

}  // namespace platform::qt
