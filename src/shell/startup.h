#pragma once

namespace shell {

class App;

inline constexpr const char* kRunningCopyMessage =
    "程式目前在執行中，請注意是否有常駐在工具列下或處理程序中！";

// The main window's load: refuses a second copy, checks the settings file,
// restores the note positions, takes today's date and the time, fills the
// today page and builds the month. False when the program must end at once;
// the one message box has been shown then, and nothing was created.
bool Form_Load(App& app);

// Form_Load, then the main window is shown.
bool Start(App& app);

// A later start asked this running copy to come forward: the main window
// comes back, restored and in front.
void ComeForward(App& app);

}  // namespace shell
