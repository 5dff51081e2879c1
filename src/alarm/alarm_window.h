#pragma once

namespace shell {
class App;
}

namespace alarms {

// The alarm window's own events (connected each time it loads).
void WireAlarmWindow(shell::App& app);

}  // namespace alarms
