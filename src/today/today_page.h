#pragma once

namespace shell {
class App;
}

namespace today {

// "主畫面": brings the today page to the front.
void MenuMain_Click(shell::App& app);

void WireToday(shell::App& app);

}  // namespace today
