#pragma once
// The main window's clock: the time on the today page, the change of day,
// and once a minute the look for plans whose alarm time has come.

namespace shell {
class App;
}

namespace alarms {

// Connects the main window's Timer1 to the clock tick.
void WireClock(shell::App& app);

// Looks through today's day file for plans at NowHour:NowMinute and raises
// the alarm window for them. Throws ui::files::FileError when the file is
// there but cannot be read.
void SearchAlarms(shell::App& app);

}  // namespace alarms
