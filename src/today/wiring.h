#pragma once

namespace shell {
class App;
}

namespace today {

// Connects the today page's menu, notes and verdict menu to their handlers.
void WireToday(shell::App& app);

}  // namespace today
