#include "alarm/alarm_window.h"

#include "shell/app.h"

namespace alarms {

void WireAlarmWindow(shell::App&) {}

}  // namespace alarms
