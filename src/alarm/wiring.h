#pragma once

namespace shell {
class App;
}

namespace alarms {

// Connects the clock timer and the alarm window's events.
void WireAlarm(shell::App& app);

}  // namespace alarms
