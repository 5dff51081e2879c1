#pragma once

namespace shell {
class App;
}

namespace calendar {

// Rebuilds the calendar page for ShownYear/ShownMonth.
void BuildMonth(shell::App& app);

}  // namespace calendar
