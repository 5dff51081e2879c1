#pragma once

namespace shell {
class App;
}

namespace summary {

// "進度檢視" on the main window, and the summary window's events.
void WireSummary(shell::App& app);

}  // namespace summary
