#include "calendar/wiring.h"

#include "calendar/month_grid.h"
#include "calendar/navigation.h"
#include "shell/app.h"
#include "shell/events.h"

namespace calendar {

void WireCalendar(shell::App& app) {
  app.BuildMonth = [&app] { BuildMonth(app); };
  shell::On(app, app.form1.MenuSetting.Click, [&app] { MenuSetting_Click(app); });
}

}  // namespace calendar
