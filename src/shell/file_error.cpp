#include "shell/file_error.h"

#include "shell/app.h"

namespace shell {

void ReportFileError(App& app, const ui::files::FileError& error) {
  app.platform.MsgBox(error.path + "\n" + error.reason, ui::Buttons::OK, kErrorTitle);
}

}  // namespace shell
