#include "ui/qt/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace ui::qt {

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
    : onEnd_(std::move(onEnd)) {
  if (::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) == 0) {
    notifier_ = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
      char bytes[16];
      while (::read(wakeFds[0], bytes, sizeof bytes) > 0) {
      }
      onEnd_();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
  }
  // The session will not wait for another event: the books close right here.
  connect(&application, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { onEnd_(); });
  connect(&application, &QGuiApplication::aboutToQuit, this, [this] { onEnd_(); });
}

SessionEnd::~SessionEnd() {
  if (wakeFds[0] < 0) return;
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
  ::close(wakeFds[0]);
  ::close(wakeFds[1]);
  wakeFds[0] = wakeFds[1] = -1;
}

}  // namespace ui::qt
