#pragma once
// The main window's clock: the time on the today page, the change of day,
// and once a minute the look for plans whose alarm time has come.

namespace shell {
class App;
}

namespace alarms {

// Connects the main window's Timer1 to the clock tick.
void WireClock(shell::App& app);

// Looks through today's day file for plans whose alarm time is one of the
// minutes firstMinute..lastMinute of the day (0 is 00:00) and raises one
// alarm for them all, in minute and file order, with one sound. Throws
// platform::files::FileError when the file is there but cannot be read.
void SearchAlarms(shell::App& app, int firstMinute, int lastMinute);

}  // namespace alarms
