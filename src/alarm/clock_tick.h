#pragma once

namespace shell {
class App;
}

namespace alarms {

// The clock timer of the main window.
void WireClock(shell::App& app);

}  // namespace alarms
