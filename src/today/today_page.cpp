#include "today/today_page.h"

#include "shell/app.h"
#include "shell/events.h"

namespace today {

void MenuMain_Click(shell::App& app) {
  shell::Form1& f = app.form1;
  f.MenuSetting.Enabled = true;
  f.MenuMain.Enabled = false;
  f.Frame1.Visible = true;
}

void WireToday(shell::App& app) {
  shell::On(app, app.form1.MenuMain.Click, [&app] { MenuMain_Click(app); });
}

}  // namespace today
