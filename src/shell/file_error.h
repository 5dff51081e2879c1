#pragma once
// A file operation that fails is reported and survived: the handler stops
// where it was, the files stay as the failed step left them (which the file
// layer keeps to "as before"), and the program goes on.

#include "platform/files/file_ops.h"

#include <utility>

namespace shell {

class App;

inline const QString kErrorTitle = QStringLiteral("Quendar 錯誤訊息報告");

void ReportFileError(App& app, const platform::files::FileError& error);

// Runs a handler, reporting a file error instead of letting it escape.
template <typename F>
void Guarded(App& app, F&& handler) {
  try {
    std::forward<F>(handler)();
  } catch (const platform::files::FileError& error) {
    ReportFileError(app, error);
  }
}

}  // namespace shell
