#pragma once

namespace shell {
class App;
}

namespace alarms {

// The alarm hour and minute boxes of the day editor.
void WireAlarmEntry(shell::App& app);

}  // namespace alarms
