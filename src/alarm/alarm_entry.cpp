#include "alarm/alarm_entry.h"

#include "shell/app.h"

namespace alarms {

void WireAlarmEntry(shell::App&) {}

}  // namespace alarms
