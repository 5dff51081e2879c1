#pragma once
// The platform on Qt: message boxes, clock, screen, cursor, pop-up menus,
// the running-copy check (a lock on the program folder, and a local socket
// through which a later copy knocks), and sound.

#include "platform/files/folder_lock.h"
#include "platform/platform.h"

#include <QByteArray>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QApplication;
class QSocketNotifier;
class QSystemTrayIcon;
class QWidget;

namespace platform::qt {

// Before the QApplication exists: under Wayland the program runs on
// XWayland, because Wayland does not let a program place its own windows
// (the alarm window must appear at the bottom right). A platform the user
// chose is kept.
void PrepareEnvironment();
// Ends the program from its exit path, whatever window is still up.
void EndProgram();
// Qt's own Traditional-Chinese texts for the standard buttons, the fonts
// that draw Chinese well, and the program's icon.
void PrepareApplication(QApplication& application);

// While a modal box or menu is open, the adapter holds back the other events
// of the window it belongs to. A box whose window is unknown holds every
// window that can take the focus; the alarm window never can, so it runs on.
class ModalScope {
 public:
  // `cancel` closes the box or menu as if the user had declined it.
  ModalScope(const QWidget* owner, std::function<void()> cancel);
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  static bool Active() { return !open_.empty(); }
  static bool Holds(const QWidget* window);

  // The session is ending and nobody is left to answer: every open box or
  // menu closes as declined, and from now on none opens, each answering at
  // once as declined. False again lets them wait for the user.
  static void SetSessionEnding(bool ending);
  static bool SessionEnding() { return sessionEnding_; }

 private:
  struct Open {
    const QWidget* owner;
    std::function<void()> cancel;
  };
  static inline std::vector<Open> open_;
  static inline bool sessionEnding_ = false;
};

// A menu opened from the keyboard opens at the control the key was pressed
// on, not at the mouse pointer, which may be anywhere.
class PopupPlace {
 public:
  explicit PopupPlace(QPoint global) { place_ = global; }
  ~PopupPlace() { place_.reset(); }
  PopupPlace(const PopupPlace&) = delete;
  PopupPlace& operator=(const PopupPlace&) = delete;
  // Where a pop-up menu opens now, in screen pixels.
  static QPoint Where();

 private:
  static inline std::optional<QPoint> place_;
};

class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

  Answer MsgBox(const QString& text, Buttons buttons, const QString& title) override;
  QDateTime Now() override;
  QRect ScreenTwips() override;
  QRect WorkAreaTwips() override;
  QPoint CursorPos() override;
  void PopupMenu(Menu& menu) override;
  bool AnotherCopyRunning() override;
  bool TrayAdd(int id, int callbackMessage, const QString& tip) override;
  void TrayDelete(int id) override;
  void BringToFront(Form& form) override;
  void PlaySound(const QString& path) override;
  void AfterRepaint(std::function<void()> work) override;
  QString ProgramFolder() override;

  // Set by the adapter: the window that draws a form.
  std::function<QWidget*(const Form&)> windowOf;
  // Set by the adapter: runs work as a logic event.
  std::function<void(const std::function<void()>&)> dispatch;
  // Runs when a later copy of the program asks this one to come forward.
  std::function<void()> onAnotherCopyStarted;
  // Runs when a mouse button is released over a notification-area icon.
  std::function<void(int callbackMessage, int mouse)> onTrayMessage;

 private:
  QString SocketPath() const;
  void KnockOnRunningCopy() const;
  void Listen();

  files::FolderLock folderLock_;
  int listener_ = -1;
  QByteArray listenerPath_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::map<int, std::unique_ptr<QSystemTrayIcon>> trayIcons_;
  // Holds the work waiting for a repaint: it goes with the platform, and a
  // change whose tidying never ran is completed by the next one instead.
  QObject afterRepaintOwner_;
};

}  // namespace platform::qt
