#include "summary/wiring.h"

#include "shell/app.h"
#include "shell/events.h"
#include "summary/statistics.h"
#include "summary/summary_window.h"

namespace summary {

void WireSummary(shell::App& app) {
  shell::On(app, app.form1.MenuView.Click, [&app] { MenuView_Click(app); });
  WireSummaryWindow(app);
}

}  // namespace summary
