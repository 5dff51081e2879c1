#pragma once
// The alarm hour and minute boxes of the day editor, Text4(0) and Text4(1):
// digits only, at most two, hours 00..23 and minutes 00..59, and a single
// digit padded with "0" when the box is left. Each box's Tag holds the last
// text that passed, which a rejected entry falls back to.

namespace shell {
class App;
}

namespace alarms {

void Text4_KeyPress(shell::App& app, int Index, int& KeyAscii);
void Text4_Change(shell::App& app, int Index);
void Text4_LostFocus(shell::App& app, int Index);

void WireAlarmEntry(shell::App& app);

}  // namespace alarms
