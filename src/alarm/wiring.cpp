#include "alarm/wiring.h"

#include "shell/app.h"

namespace alarms {

void WireAlarm(shell::App&) {}

}  // namespace alarms
