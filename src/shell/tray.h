#pragma once
// Closing the main window does not end the program: the window hides behind
// an icon in the notification area, and a click on the icon brings it back.
// Only the exit command ends the program.

namespace platform {
class Form;
}

namespace shell {

class App;

// The close-to-tray mechanism that the main window and the summary share,
// each with its own icon id and callback message.
// A close request while ExitFlag is 0 minimises the window, marked "close".
void CloseToTray(App& app, platform::Form& form, bool& cancel, int trayId, int trayMessage);
// A minimise marked "close" hides the window behind its icon; without a
// notification area it stays minimised on the task bar, where the user can
// still reach it.
void HideInTray(App& app, platform::Form& form, int trayId, int trayMessage);
// The window back in its normal state, its icon gone.
void OpenFromTray(App& app, platform::Form& form, int trayId);

inline constexpr int kMainTrayId = 9999;
inline constexpr int kMainTrayMessage = 499;

// The close box: hides the window in the notification area while ExitFlag is 0.
void Form_QueryUnload(App& app, bool& cancel);
void Form_Resize(App& app);
// Brings the main window back from the notification area.
void TrayOpen(App& app);
// A message from a notification-area icon.
void TrayWndProc(App& app, int message, int mouse);

// The tray menu's "顯示" and "結束".
void TrayMain_Click(App& app);
void TrayExit_Click(App& app);

// "結束程式", and its forwarder for the other windows.
void MenuExit_Click(App& app);
void DoMenuExit(App& app);
// The main window really goes: its icon goes with it, the books are closed,
// then the program ends. Runs once.
void Form_Unload(App& app);

// The user's session ends (log-off, system shutdown, a termination signal):
// the main window goes with the complete shutdown, whether it is shown, in
// the tray or behind the summary window. During a start-up that has not
// gone through (or failed) there is nothing to close: nothing happens.
void EndSession(App& app);

void WireTray(App& app);

}  // namespace shell
