#pragma once
// The alarm window: it slides up at the bottom right of the screen, stays
// about ten seconds, slides back down and unloads itself; its "x" closes it
// at once.

#include <QString>

namespace shell {
class App;
}

namespace alarms {

// Connects the alarm window's events each time it loads.
void WireAlarmWindow(shell::App& app);

// Starts a new alarm with its first plan text: loads the window if needed,
// puts it just below the screen at the right and lets it rise from there.
// An alarm still on screen starts over with the new text.
void RaiseAlarm(shell::App& app, const QString& text);

// A further plan of the same alarm, on a line of its own.
void AddAlarmText(shell::App& app, const QString& text);

}  // namespace alarms
