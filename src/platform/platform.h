#pragma once
// Everything the logic asks of the outside world besides files: message
// boxes, the clock, the screen, the cursor, pop-up menus, the running-copy
// check, sound, and the end of the program. The Qt implementation lives in
// platform/qt; tests use the scripted fake of the testsupport library.

#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>

namespace platform {

class Form;
class Menu;

enum class Buttons { OK, YesNo };

// The mouse messages a click on a notification-area icon reports: the left
// or the right button released.
inline constexpr int kLeftButtonUp = 514;
inline constexpr int kRightButtonUp = 517;
enum class Answer { OK, Yes, No };

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal message box; no other logic event runs until it is answered.
  virtual Answer MsgBox(const QString& text, Buttons buttons, const QString& title) = 0;

  virtual QDateTime Now() = 0;

  // The screen, in twips: its whole size and the part windows may use (the
  // work area, without panels).
  virtual QRect ScreenTwips() = 0;
  virtual QRect WorkAreaTwips() = 0;

  virtual QPoint CursorPos() = 0;  // screen position, device-independent pixels

  // Shows a pop-up menu at the cursor and returns once it has closed; the
  // chosen item's Click has run by then.
  virtual void PopupMenu(Menu& menu) = 0;

  // True when another copy of this program, for the same program folder and
  // user, is running; that copy is asked to bring its main window back.
  // Otherwise this copy becomes the one that answers later starts.
  virtual bool AnotherCopyRunning() = 0;

  // The notification-area icon of a window, with the program's tip. False
  // when the desktop has no notification area to hold it.
  // A release of either mouse button over it comes back as the callback
  // message, through the platform's tray callback.
  virtual bool TrayAdd(int id, int callbackMessage, const QString& tip) = 0;
  virtual void TrayDelete(int id) = 0;

  // Raises a window above the others and gives it the focus.
  virtual void BringToFront(Form& form) = 0;

  // Starts playing a sound file and returns at once; an unplayable file is silence.
  virtual void PlaySound(const QString& path) = 0;

  // Runs work as an event of its own once the windows have been repainted
  // with what the current event changed: for what the user need not wait for.
  virtual void AfterRepaint(std::function<void()> work) = 0;

  // The folder of the executable, as the platform gives it.
  virtual QString ProgramFolder() = 0;
};

}  // namespace platform
