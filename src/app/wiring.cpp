#include "app/wiring.h"

#include "alarm/wiring.h"
#include "calendar/wiring.h"
#include "shell/app.h"
#include "shell/events.h"
#include "shell/tray.h"
#include "store/wiring.h"
#include "summary/wiring.h"
#include "today/wiring.h"

namespace app {

void Wire(shell::App& app) {
  shell::WireTray(app);
  today::WireToday(app);
  calendar::WireCalendar(app);
  store::WireStore(app);
  alarms::WireAlarm(app);
  summary::WireSummary(app);
}

}  // namespace app
