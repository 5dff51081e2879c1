#pragma once
// The day cell under the mouse turns white and the month arrows turn white
// under the mouse, driven by mouse moves alone. Label6(2).Tag remembers the
// white cell ("0" or empty for none), Label6(2).Caption today's cell.

namespace shell {
class App;
}

namespace calendar {

void Label5_MouseMove(shell::App& app, int Index);
void Label3_MouseMove(shell::App& app);
void Form_MouseMove(shell::App& app);
void Label4_MouseMove(shell::App& app, int Index);
void Label2_MouseMove(shell::App& app);

}  // namespace calendar
