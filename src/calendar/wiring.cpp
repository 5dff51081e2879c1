#include "calendar/wiring.h"

#include "calendar/hover.h"
#include "calendar/month_grid.h"
#include "calendar/navigation.h"
#include "shell/app.h"
#include "shell/events.h"

namespace calendar {

void WireCalendar(shell::App& app) {
  shell::Form1& f = app.form1;
  app.BuildMonth = [&app] { BuildMonth(app); };
  shell::On(app, f.MenuSetting.Click, [&app] { MenuSetting_Click(app); });

  for (int i = 0; i < 2; ++i) {
    shell::On(app, f.Label4[i].Click, [&app, i] { Label4_Click(app, i); });
    shell::On(app, f.Label4[i].MouseMove, [&app, i](int, int, float, float) { Label4_MouseMove(app, i); });
  }
  for (int i = 0; i < shell::kCellCount; ++i) {
    shell::On(app, f.Label5[i].Click, [&app, i] { Label5_Click(app, i); });
    shell::On(app, f.Label5[i].DblClick, [&app, i] { Label5_DblClick(app, i); });
    shell::On(app, f.Label5[i].MouseMove, [&app, i](int, int, float, float) { Label5_MouseMove(app, i); });
  }
  for (int i = 0; i < 7; ++i) {
    shell::On(app, f.Label3[i].MouseMove, [&app](int, int, float, float) { Label3_MouseMove(app); });
  }
  shell::On(app, f.Label2.MouseMove, [&app](int, int, float, float) { Label2_MouseMove(app); });
  shell::On(app, f.MouseMove, [&app](int, int, float, float) { Form_MouseMove(app); });
}

}  // namespace calendar
