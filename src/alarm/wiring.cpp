#include "alarm/wiring.h"

#include "alarm/alarm_entry.h"
#include "alarm/alarm_window.h"
#include "alarm/clock_tick.h"
#include "shell/app.h"

namespace alarms {

void WireAlarm(shell::App& app) {
  WireClock(app);
  WireAlarmEntry(app);
  WireAlarmWindow(app);
}

}  // namespace alarms
