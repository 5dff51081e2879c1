#include "shell/exit.h"

#include "shell/app.h"

namespace shell {

void MenuExit_Click(App& app) {
  app.ExitFlag = 1;
  if (app.EndProgram) app.EndProgram();
}

}  // namespace shell
