#pragma once
// The day editor of the calendar page: Add a plan, Edit (save the day's
// note), Del the selected plan, and the filters of the plan and note boxes.
// The day is (ShownYear, ShownMonth, Command1.Tag).

namespace shell {
class App;
}

namespace store {

void Command2_Click(shell::App& app);  // Add
void Command3_Click(shell::App& app);  // Edit
void Command1_Click(shell::App& app);  // Del

void Text1_KeyPress(shell::App& app, int& KeyAscii);
// Keep the plan and note boxes to what a day file can hold.
void Text1_Change(shell::App& app);
void Text3_Change(shell::App& app);

// Lists every plan line of the edited day, marked ones too, each item
// remembering its file line.
void RefillList2(shell::App& app);

}  // namespace store
