#include "platform/qt/qt_platform.h"

#include "platform/controls.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <map>

#include <langinfo.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::qt {

namespace {


QString ProgramFolderPath() { return QCoreApplication::applicationDirPath(); }

QRect ToTwips(const QRect& pixels) {
  return {pixels.x() * kTwipsPerPixel, pixels.y() * kTwipsPerPixel, pixels.width() * kTwipsPerPixel,
          pixels.height() * kTwipsPerPixel};
}

QScreen* Screen() { return QGuiApplication::primaryScreen(); }

bool SocketAddress(const QString& path, sockaddr_un& address) {
  const QByteArray bytes = QFile::encodeName(path);
  address = {};
  address.sun_family = AF_UNIX;
  if (std::size_t(bytes.size()) >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, bytes.constData(), std::size_t(bytes.size()));
  return true;
}

// A small calendar leaf with a tick: the window and task bar icon.
QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(71, 120, 140), 2));
  p.setBrush(QColor(223, 246, 253));
  p.drawRoundedRect(3, 5, 26, 24, 3, 3);
  p.fillRect(4, 6, 25, 7, QColor(136, 212, 234));
  p.setPen(QPen(QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygon({QPoint(10, 20), QPoint(15, 25), QPoint(23, 15)}));
  return QIcon(pixmap);
}

}  // namespace

void PrepareEnvironment() {
  // Window titles reach the window system in the character type's code set:
  // without a UTF-8 one (no locale set at all) tools and window managers
  // would read the Chinese titles as Latin-1.
  std::setlocale(LC_ALL, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) {
    qputenv(qEnvironmentVariableIsEmpty("LC_ALL") ? "LC_CTYPE" : "LC_ALL", "C.UTF-8");
    std::setlocale(LC_ALL, "");
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      !qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
}

void PrepareApplication(QApplication& application) {
  auto* translator = new QTranslator(&application);
  if (translator->load(QLocale(QLocale::Chinese, QLocale::Taiwan), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  }
  QFont font = application.font();
  // Latin letters and digits from a sans face, Chinese from a Traditional face.
  font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK TC"),
                    QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL UKai TW")});
  font.setPointSize(9);
  application.setFont(font);
  application.setWindowIcon(ProgramIcon());
  application.setQuitOnLastWindowClosed(false);
}

void EndProgram() {
  // quit() would ask every window first, and the alarm window refuses to
  // close; the exit has run by now, so the program ends at once.
  QCoreApplication::exit(0);
}

ModalScope::ModalScope(const QWidget* owner, std::function<void()> cancel) {
  open_.push_back({owner, std::move(cancel)});
}

ModalScope::~ModalScope() { open_.pop_back(); }

bool ModalScope::Holds(const QWidget* window) {
  const bool canOwn = !(window->windowFlags() & Qt::WindowDoesNotAcceptFocus);
  return std::any_of(open_.begin(), open_.end(), [&](const Open& open) {
    return open.owner == window || (open.owner == nullptr && canOwn);
  });
}

void ModalScope::SetSessionEnding(bool ending) {
  sessionEnding_ = ending;
  // Each closes once control is back in its own loop; the innermost first.
  if (ending) {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) it->cancel();
  }
}

QPoint PopupPlace::Where() { return place_.value_or(QCursor::pos()); }

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() {
  if (listener_ >= 0) {
    notifier_.reset();
    ::close(listener_);
    ::unlink(listenerPath_.constData());
  }
}

Answer QtPlatform::MsgBox(const QString& text, Buttons buttons, const QString& title) {
  if (ModalScope::SessionEnding()) return buttons == Buttons::OK ? Answer::OK : Answer::No;
  QWidget* owner = QApplication::activeWindow();
  QMessageBox box(owner);
  box.setWindowTitle(title);
  box.setText(text);
  box.setIcon(QMessageBox::NoIcon);
  if (buttons == Buttons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  int result;
  {
    ModalScope modal(owner, [&box] { box.done(QMessageBox::No); });
    result = box.exec();
  }
  if (buttons == Buttons::OK) return Answer::OK;
  return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QDateTime QtPlatform::Now() { return QDateTime::currentDateTime(); }

QRect QtPlatform::ScreenTwips() { return Screen() ? ToTwips(Screen()->geometry()) : QRect(); }

QRect QtPlatform::WorkAreaTwips() { return Screen() ? ToTwips(Screen()->availableGeometry()) : QRect(); }

QPoint QtPlatform::CursorPos() { return QCursor::pos(); }

void QtPlatform::PopupMenu(Menu& menu) {
  if (ModalScope::SessionEnding()) return;
  QMenu popup;
  std::map<QAction*, Menu*> items;
  for (Menu* item : menu.Items) {
    if (!item->Visible) continue;
    if (item->Caption == QStringLiteral("-")) {
      popup.addSeparator();
      continue;
    }
    QAction* action = popup.addAction(item->Caption);
    action->setEnabled(item->Enabled);
    items[action] = item;
  }
  QAction* chosen;
  {
    ModalScope modal(QApplication::activeWindow(), [&popup] { popup.close(); });
    chosen = popup.exec(PopupPlace::Where());
  }
  if (auto it = items.find(chosen); it != items.end()) it->second->Click();
}

QString QtPlatform::SocketPath() const {
  // One running copy per program folder and user; the socket lives in the
  // user's own runtime folder, never in the program folder.
  const QByteArray key = QFileInfo(ProgramFolderPath()).canonicalFilePath().toUtf8() + '\n' +
                         QByteArray::number(qulonglong(::getuid()));
  return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/quendar-") +
         QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16)) +
         QStringLiteral(".sock");
}

bool QtPlatform::AnotherCopyRunning() {
  // The copy that holds the lock on the program folder is the running one,
  // whatever its runtime folder and however close the starts were.
  if (!folderLock_.TryLock(ProgramFolderPath())) {
    KnockOnRunningCopy();
    return true;
  }
  Listen();
  return false;
}

void QtPlatform::KnockOnRunningCopy() const {
  sockaddr_un address;
  if (!SocketAddress(SocketPath(), address)) return;
  // The running copy may have won the lock a moment ago and not be listening
  // yet; one in another runtime folder never answers.
  for (int attempt = 0; attempt < 10; ++attempt) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    const bool answered = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    // MSG_NOSIGNAL: the running copy may already have hung up.
    if (answered) (void)!::send(fd, "show\n", 5, MSG_NOSIGNAL);
    ::close(fd);
    if (answered) return;
    ::usleep(100 * 1000);
  }
}

void QtPlatform::Listen() {
  sockaddr_un address;
  if (!SocketAddress(SocketPath(), address)) return;
  // This copy holds the lock: a socket still there is a dead copy's.
  ::unlink(address.sun_path);
  listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listener_ < 0) return;
  if (::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 4) != 0) {
    ::close(listener_);
    listener_ = -1;
    return;
  }
  listenerPath_ = address.sun_path;
  notifier_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    int client;
    while ((client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
      ::close(client);
      if (onAnotherCopyStarted) onAnotherCopyStarted();
    }
  });
}

bool QtPlatform::TrayAdd(int id, int callbackMessage, const QString& tip) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
  auto icon = std::make_unique<QSystemTrayIcon>(QApplication::windowIcon());
  icon->setToolTip(tip);
  // Either button restores; the icon has no menu of its own. The click is
  // answered once the icon's own event is over: restoring deletes the icon.
  QObject::connect(icon.get(), &QSystemTrayIcon::activated, [this, callbackMessage](auto reason) {
    const int mouse = reason == QSystemTrayIcon::Trigger   ? kLeftButtonUp
                      : reason == QSystemTrayIcon::Context ? kRightButtonUp
                                                           : 0;
    if (mouse == 0) return;
    QMetaObject::invokeMethod(
        qApp, [this, callbackMessage, mouse] { if (onTrayMessage) onTrayMessage(callbackMessage, mouse); },
        Qt::QueuedConnection);
  });
  icon->show();
  trayIcons_[id] = std::move(icon);
  return true;
}

void QtPlatform::TrayDelete(int id) {
  // Deleted later: this often runs inside the icon's own click.
  if (auto it = trayIcons_.find(id); it != trayIcons_.end()) {
    it->second->hide();
    it->second.release()->deleteLater();
    trayIcons_.erase(it);
  }
}

void QtPlatform::BringToFront(Form& form) {
  QWidget* window = windowOf ? windowOf(form) : nullptr;
  if (!window) return;
  window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window->show();
  window->raise();
  window->activateWindow();
}

void QtPlatform::PlaySound(const QString& path) {
  // The player module loads at the first alarm; without it the alarm is silent.
  using Play = void (*)(const char16_t*, int);
  static const auto play = reinterpret_cast<Play>(
      QLibrary::resolve(ProgramFolderPath() + QStringLiteral("/quendar-sound"), "quendar_play_sound"));
  if (play) play(reinterpret_cast<const char16_t*>(path.utf16()), int(path.size()));
}

void QtPlatform::AfterRepaint(std::function<void()> work) {
  // Qt paints a window at its next frame, up to one refresh (16 ms at 60 Hz)
  // after the change; a few frames later that paint is surely done.
  constexpr int kAfterFrames = 50;
  QTimer::singleShot(kAfterFrames, &afterRepaintOwner_, [this, work = std::move(work)] {
    if (dispatch) {
      dispatch(work);
    } else {
      work();
    }
  });
}

QString QtPlatform::ProgramFolder() { return ProgramFolderPath(); }

}  // namespace platform::qt
