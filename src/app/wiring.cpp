#include "app/wiring.h"

#include "alarm/wiring.h"
#include "calendar/wiring.h"
#include "shell/app.h"
#include "shell/events.h"
#include "shell/exit.h"
#include "store/wiring.h"
#include "today/today_page.h"

namespace app {

void Wire(shell::App& app) {
  shell::On(app, app.form1.MenuExit.Click, [&app] { shell::MenuExit_Click(app); });
  today::WireToday(app);
  calendar::WireCalendar(app);
  store::WireStore(app);
  alarms::WireAlarm(app);
}

}  // namespace app
