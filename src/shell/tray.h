#pragma once
// Closing the main window does not end the program: the window hides behind
// an icon in the notification area, and a click on the icon brings it back.
// Only the exit command ends the program.

namespace shell {

class App;

inline constexpr int kMainTrayId = 9999;
inline constexpr int kMainTrayMessage = 499;

// The close box: hides the window in the notification area while ExitFlag is 0.
void Form_QueryUnload(App& app, bool& cancel);
void Form_Resize(App& app);
// Brings the main window back from the notification area.
void TrayOpen(App& app);
// A message from a notification-area icon.
void TrayWndProc(App& app, int message, int mouse);

// "結束程式".
void MenuExit_Click(App& app);
// The main window really goes: its icon goes with it, then the program ends.
void Form_Unload(App& app);

void WireTray(App& app);

}  // namespace shell
