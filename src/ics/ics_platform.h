#pragma once
// The platform of the companion program: no windows, no sound, no tray. The
// store's steps it uses ask nothing of the user; should one ever show a box,
// its text goes to the standard error.

#include "platform/platform.h"

namespace ics {

class IcsPlatform : public platform::Platform {
 public:
  explicit IcsPlatform(QString folder) : folder_(std::move(folder)) {}

  platform::Answer MsgBox(const QString& text, platform::Buttons buttons, const QString& title) override;
  QDateTime Now() override { return QDateTime::currentDateTime(); }
  QRect ScreenTwips() override { return {}; }
  QRect WorkAreaTwips() override { return {}; }
  QPoint CursorPos() override { return {}; }
  void PopupMenu(platform::Menu&) override {}
  bool AnotherCopyRunning() override { return false; }
  bool TrayAdd(int, int, const QString&) override { return false; }
  void TrayDelete(int) override {}
  void BringToFront(platform::Form&) override {}
  void PlaySound(const QString&) override {}
  // Nothing is drawn, so what waits for a repaint runs at once.
  void AfterRepaint(std::function<void()> work) override { work(); }
  QString ProgramFolder() override { return folder_; }

 private:
  QString folder_;
};

}  // namespace ics
