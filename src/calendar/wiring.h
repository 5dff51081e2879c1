#pragma once

namespace shell {
class App;
}

namespace calendar {

// Connects the calendar page's events and gives the shell BuildMonth.
void WireCalendar(shell::App& app);

}  // namespace calendar
