#pragma once
// The scripted platform of the tests: queued answers for message boxes, a
// record of every box shown, a settable clock, screen and cursor.

#include "platform/platform.h"

#include <QDateTime>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace testsupport {

struct ShownMessage {
  QString text;
  platform::Buttons buttons;
  QString title;
};

class FakePlatform : public platform::Platform {
 public:
  platform::Answer MsgBox(const QString& text, platform::Buttons buttons, const QString& title) override;
  QDateTime Now() override { return now; }
  QRect ScreenTwips() override { return screen; }
  QRect WorkAreaTwips() override { return workArea.isNull() ? screen : workArea; }
  QPoint CursorPos() override { return cursor; }
  void PopupMenu(platform::Menu& menu) override;
  bool AnotherCopyRunning() override { return anotherCopy; }
  bool TrayAdd(int id, int callbackMessage, const QString& tip) override;
  void TrayDelete(int id) override { trayIcons.erase(id); }
  void BringToFront(platform::Form&) override { ++broughtToFront; }
  void PlaySound(const QString& path) override { sounds.append(path); }
  // Runs the work at once, or keeps it in afterRepaint while holdAfterRepaint is set.
  void AfterRepaint(std::function<void()> work) override;
  QString ProgramFolder() override { return programFolder; }

  QDateTime now{QDate(2005, 8, 5), QTime(9, 5, 0)};
  QRect screen{0, 0, 1024 * 15, 768 * 15};
  QRect workArea;  // null: the whole screen
  QPoint cursor;
  bool anotherCopy = false;
  QString programFolder;

  // The texts of the error boxes shown (title "Quendar 錯誤訊息報告", OK
  // button), in order; a box of any other kind shows as "(not an error box)".
  QStringList ErrorTexts() const;

  std::deque<platform::Answer> answers;  // for Yes/No boxes; empty answers Yes
  std::vector<ShownMessage> messages;
  // Called while a message box is up, for tests that look at that moment.
  std::function<void(const ShownMessage&)> onMessage;
  // Called while a pop-up menu is up, before the choice below is made.
  std::function<void(platform::Menu&)> onPopup;
  // The item a pop-up menu picks, or null to close it without a choice.
  platform::Menu* menuChoice = nullptr;
  std::vector<platform::Menu*> popups;
  QStringList sounds;
  bool trayAvailable = true;
  std::map<int, QString> trayIcons;  // id -> tip
  int broughtToFront = 0;
  bool holdAfterRepaint = false;
  std::vector<std::function<void()>> afterRepaint;
  void RunAfterRepaint();
};

}  // namespace testsupport
