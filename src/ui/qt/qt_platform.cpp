#include "ui/qt/qt_platform.h"

#include "ui/controls.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QCursor>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSoundEffect>
#include <QTranslator>
#include <QUrl>

#include <map>

#include <unistd.h>

namespace ui::qt {

namespace {

constexpr int kConnectTimeoutMs = 500;

QString ProgramFolderPath() { return QCoreApplication::applicationDirPath(); }

QRect ToTwips(const QRect& pixels) {
  return {pixels.x() * kTwipsPerPixel, pixels.y() * kTwipsPerPixel, pixels.width() * kTwipsPerPixel,
          pixels.height() * kTwipsPerPixel};
}

QScreen* Screen() { return QGuiApplication::primaryScreen(); }

// A small calendar leaf: the window and task bar icon.
QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(71, 120, 140), 2));
  p.setBrush(QColor(223, 246, 253));
  p.drawRoundedRect(3, 5, 26, 24, 3, 3);
  p.fillRect(4, 6, 25, 7, QColor(136, 212, 234));
  p.setPen(QColor(200, 0, 0));
  p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9, QFont::Bold));
  p.drawText(QRect(3, 12, 26, 17), Qt::AlignCenter, QStringLiteral("✓"));
  return QIcon(pixmap);
}

}  // namespace

void PrepareEnvironment() {
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

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

Answer QtPlatform::MsgBox(const QString& text, Buttons buttons, const QString& title) {
  QMessageBox box(QApplication::activeWindow());
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
    ModalScope modal;
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
    ModalScope modal;
    chosen = popup.exec(QCursor::pos());
  }
  if (auto it = items.find(chosen); it != items.end()) it->second->Click();
}

QString QtPlatform::ServerName() const {
  // One running copy per program folder and user.
  const QByteArray key = QFileInfo(ProgramFolderPath()).canonicalFilePath().toUtf8() + '\n' +
                         QByteArray::number(qulonglong(::getuid()));
  return QStringLiteral("quendar-") +
         QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

bool QtPlatform::AnotherCopyRunning() {
  const QString name = ServerName();
  {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (socket.waitForConnected(kConnectTimeoutMs)) {
      socket.write("show\n");
      socket.waitForBytesWritten(kConnectTimeoutMs);
      socket.disconnectFromServer();
      return true;
    }
  }
  // Nobody answered: a socket left by a copy that died is stale.
  QLocalServer::removeServer(name);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(server_.get(), &QLocalServer::newConnection, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      if (onAnotherCopyStarted) onAnotherCopyStarted();
    }
  });
  server_->listen(name);
  return false;
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
  // Made at the first alarm, not at start-up, so a start costs nothing for it.
  if (!sound_) sound_ = std::make_unique<QSoundEffect>();
  sound_->stop();
  sound_->setSource(QUrl::fromLocalFile(path));
  sound_->play();
}

QString QtPlatform::ProgramFolder() { return ProgramFolderPath(); }

}  // namespace ui::qt
