#include "calendar/navigation.h"

#include "shell/app.h"

namespace calendar {

void MenuSetting_Click(shell::App& app) {
  shell::Form1& f = app.form1;
  f.Frame1.Visible = false;
  f.MenuSetting.Enabled = false;
  f.MenuMain.Enabled = true;
}

}  // namespace calendar
