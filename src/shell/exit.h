#pragma once

namespace shell {

class App;

// "結束程式": the one way the user ends the program.
void MenuExit_Click(App& app);

}  // namespace shell
