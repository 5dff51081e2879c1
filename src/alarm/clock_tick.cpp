#include "alarm/clock_tick.h"

#include "shell/app.h"

namespace alarms {

void WireClock(shell::App&) {}

}  // namespace alarms
