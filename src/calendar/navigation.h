#pragma once

namespace shell {
class App;
}

namespace calendar {

// "行程排定": uncovers the calendar page, which keeps its month, selection and mode.
void MenuSetting_Click(shell::App& app);

}  // namespace calendar
