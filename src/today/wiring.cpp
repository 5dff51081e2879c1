#include "today/wiring.h"

#include "shell/app.h"
#include "shell/events.h"
#include "today/note_drag.h"
#include "today/today_page.h"
#include "today/verdict.h"

namespace today {

void WireToday(shell::App& app) {
  shell::Form1& f = app.form1;
  shell::On(app, f.MenuMain.Click, [&app] { MenuMain_Click(app); });
  for (int i = 0; i < shell::kNoteCount; ++i) {
    platform::Label& bar = f.Label10[i];
    shell::On(app, bar.MouseDown, [&app, i](int Button, int, float, float) { Label10_MouseDown(app, i, Button); });
    shell::On(app, bar.MouseMove, [&app, i](int Button, int, float, float) { Label10_MouseMove(app, i, Button); });
    shell::On(app, bar.MouseUp, [&app, i](int Button, int, float, float) { Label10_MouseUp(app, i, Button); });
    shell::On(app, f.Label11[i].MouseDown,
              [&app, i](int Button, int, float, float) { Label11_MouseDown(app, i, Button); });
  }
  shell::On(app, f.PlansPop_Done.Click, [&app] { PlansPop_Done_Click(app); });
  shell::On(app, f.PlansPop_Del.Click, [&app] { PlansPop_Del_Click(app); });
}

}  // namespace today
