#pragma once

namespace shell {
class App;
}

namespace app {

// Connects every event of the main window to its handler and gives the shell
// the procedures of the other subsystems.
void Wire(shell::App& app);

}  // namespace app
