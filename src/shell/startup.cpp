#include "shell/startup.h"

#include "shell/app.h"
#include "shell/clock_text.h"
#include "shell/file_error.h"
#include "shell/paths.h"
#include "shell/settings_file.h"
#include "shell/tray.h"
#include "platform/files/file_ops.h"

namespace shell {

bool Form_Load(App& app) {
  Form1& f = app.form1;
  app.ExitFlag = 0;

  if (app.platform.AnotherCopyRunning()) {
    app.platform.MsgBox(kRunningCopyMessage, platform::Buttons::OK, "Quendar");
    return false;
  }

  app.VersionCaption = kVersionCaption;

  const QString settings = SettingsPath(app);
  if (!platform::files::FileExists(settings)) {
    app.platform.MsgBox("I01: 找不到 Quendar 的設定檔", platform::Buttons::OK, kErrorTitle);
    return false;
  }
  bool headerOk = false;
  try {
    headerOk = ReadSettingsFile(settings, f);
  } catch (const platform::files::FileError& error) {
    ReportFileError(app, error);
    return false;
  }
  if (!headerOk) {
    app.platform.MsgBox("I03: 您的設定檔資訊不完整！", platform::Buttons::OK, kErrorTitle);
    return false;
  }

  // A change a crash left half done is completed before any day is read.
  if (app.CompleteJournal) app.CompleteJournal();

  f.FixedSize = true;
  f.Caption = app.VersionCaption;
  // The main window opens in the middle of the screen's work area.
  if (const QRect area = app.platform.WorkAreaTwips(); !area.isEmpty()) {
    f.Left = area.x() + (area.width() - f.Width) / 2;
    f.Top = area.y() + (area.height() - f.Height) / 2;
  }

  const QDateTime now = app.platform.Now();
  app.ShownYear = app.TodayYear = std::int16_t(now.date().year());
  app.ShownMonth = app.TodayMonth = std::int16_t(now.date().month());
  app.TodayDay = std::int16_t(now.date().day());

  f.Text2.Top = 720;
  f.Text2.Height = 310;

  SetNowTexts(app, now.time());
  f.Label8.Caption = app.NowHour + ":" + app.NowMinute;

  f.MenuMain.Click();
  if (app.BuildMonth) app.BuildMonth();
  app.Form1Loaded = true;
  return true;
}

bool Start(App& app) {
  if (!Form_Load(app)) return false;
  app.form1.Visible = true;
  return true;
}

void ComeForward(App& app) {
  // While the summary stands in for the main window, the summary comes back.
  if (app.Form3Loaded()) {
    Form3& summary = app.GetForm3();
    if (!summary.Visible && app.ExitFlag == 1) summary.TrayOpen3();
    summary.Visible = true;
    summary.State = platform::WindowState::Normal;
    app.platform.BringToFront(summary);
    return;
  }
  const bool inTray = !app.form1.Visible && app.ExitFlag == 1;
  if (inTray) TrayOpen(app);
  app.form1.Visible = true;
  app.form1.State = platform::WindowState::Normal;
  app.platform.BringToFront(app.form1);
}

}  // namespace shell
