#include "shell/file_error.h"

#include "shell/app.h"

namespace shell {

void ReportFileError(App& app, const platform::files::FileError& error) {
  app.platform.MsgBox(error.path + "\n" + error.reason, platform::Buttons::OK, kErrorTitle);
}

}  // namespace shell
