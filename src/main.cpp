// Builds the application on the Qt platform and runs it.

#include "app/wiring.h"
#include "shell/app.h"
#include "shell/startup.h"
#include "shell/tray.h"
#include "platform/qt/qt_adapter.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/session_end.h"

#include <QApplication>

int main(int argc, char** argv) {
  platform::qt::PrepareEnvironment();
  QApplication application(argc, argv);
  platform::qt::PrepareApplication(application);

  platform::qt::QtPlatform platform;
  shell::App app(platform, platform.ProgramFolder());
  app::Wire(app);
  platform::qt::QtAdapter adapter(app);
  platform.windowOf = [&adapter](const platform::Form& form) { return adapter.WindowOf(form); };
  platform.dispatch = [&adapter](const std::function<void()>& work) { adapter.Dispatch(work); };
  platform.onAnotherCopyStarted = [&] { adapter.Dispatch([&] { shell::ComeForward(app); }); };
  platform.onTrayMessage = [&](int message, int mouse) {
    adapter.Dispatch([&app, message, mouse] { shell::TrayWndProc(app, message, mouse); });
  };
  app.EndProgram = platform::qt::EndProgram;
  platform::qt::SessionEnd sessionEnd(application, [&] { adapter.Dispatch([&app] { shell::EndSession(app); }); });

  bool started = false;
  adapter.Dispatch([&] { started = shell::Start(app); });
  if (!started) return 1;
  // The session may have ended while a box of the start-up was open; the
  // books are closed already and there is no loop yet to leave.
  if (app.Form1Unloaded) return 0;
  return application.exec();
}
