#include "shell/tray.h"

#include "shell/app.h"
#include "shell/events.h"

namespace shell {

namespace {
const QString kCloseMarker = QStringLiteral("close");

void UnloadForm1(App& app) {
  bool cancel = false;
  app.form1.QueryUnload(cancel);
  if (!cancel) Form_Unload(app);
}
}  // namespace

void CloseToTray(App& app, platform::Form& form, bool& cancel, int trayId, int trayMessage) {
  if (cancel || app.ExitFlag != 0) return;
  form.Tag = kCloseMarker;
  form.State = platform::WindowState::Minimized;
  cancel = true;
  app.ExitFlag = 1;
  HideInTray(app, form, trayId, trayMessage);
}

void HideInTray(App& app, platform::Form& form, int trayId, int trayMessage) {
  if (form.Tag == kCloseMarker && form.State == platform::WindowState::Minimized) {
    if (app.platform.TrayAdd(trayId, trayMessage, app.VersionCaption)) {
      form.Visible = false;
    } else {
      app.ExitFlag = 0;
    }
  }
  form.Tag.clear();
}

void OpenFromTray(App& app, platform::Form& form, int trayId) {
  form.Visible = true;
  form.State = platform::WindowState::Normal;
  app.platform.TrayDelete(trayId);
  app.ExitFlag = 0;
}

void Form_QueryUnload(App& app, bool& cancel) {
  CloseToTray(app, app.form1, cancel, kMainTrayId, kMainTrayMessage);
}

void Form_Resize(App& app) { HideInTray(app, app.form1, kMainTrayId, kMainTrayMessage); }

void TrayOpen(App& app) { OpenFromTray(app, app.form1, kMainTrayId); }

void TrayWndProc(App& app, int message, int mouse) {
  if (message == kMainTrayMessage && (mouse == platform::kLeftButtonUp || mouse == platform::kRightButtonUp)) TrayOpen(app);
  if (message == kSummaryTrayMessage && (mouse == platform::kLeftButtonUp || mouse == platform::kRightButtonUp) &&
      app.Form3Loaded()) {
    app.GetForm3().TrayOpen3();
  }
}

void TrayMain_Click(App& app) { TrayOpen(app); }

void TrayExit_Click(App& app) { MenuExit_Click(app); }

void MenuExit_Click(App& app) {
  app.ExitFlag = 1;
  UnloadForm1(app);
}

void DoMenuExit(App& app) { MenuExit_Click(app); }

void Form_Unload(App& app) {
  if (app.Form1Unloaded) return;
  app.Form1Unloaded = true;
  if (app.ExitFlag == 1) app.platform.TrayDelete(kMainTrayId);
  if (app.ShutdownProcessing) app.ShutdownProcessing();
  if (app.EndProgram) app.EndProgram();
}

void EndSession(App& app) {
  if (!app.Form1Loaded || app.Form1Unloaded) return;
  // Unlike a close box, this unload must go through: the session will not wait.
  app.ExitFlag = 1;
  if (app.Form3Loaded()) app.GetForm3().Unload();
  UnloadForm1(app);
}

void WireTray(App& app) {
  Form1& f = app.form1;
  On(app, f.QueryUnload, [&app](bool& cancel) { Form_QueryUnload(app, cancel); });
  On(app, f.Resize, [&app] { Form_Resize(app); });
  On(app, f.MenuExit.Click, [&app] { MenuExit_Click(app); });
  On(app, f.TrayMain.Click, [&app] { TrayMain_Click(app); });
  On(app, f.TrayExit.Click, [&app] { TrayExit_Click(app); });
}

}  // namespace shell
