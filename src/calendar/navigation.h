#pragma once
// Stepping through months and choosing a day on the calendar page. A click on
// a day lists its plans (list mode); a double click opens it in the editor.

namespace shell {
class App;
}

namespace calendar {

// "行程排定": uncovers the calendar page, which keeps its month, selection and mode.
void MenuSetting_Click(shell::App& app);

// "<<" (Index 0) and ">>" (Index 1).
void Label4_Click(shell::App& app, int Index);
void Label5_Click(shell::App& app, int Index);
void Label5_DblClick(shell::App& app, int Index);

}  // namespace calendar
