#include "summary/summary_window.h"

#include "shell/app.h"
#include "shell/events.h"
#include "shell/paths.h"
#include "shell/tray.h"
#include "store/history_file.h"
#include "store/journal.h"
#include "summary/statistics.h"
#include "platform/files/file_ops.h"

namespace summary {

namespace {

constexpr float kSwing = 25;
constexpr float kShortestSwingingBar = 20;

void Form_Load(shell::Form3& f) { f.Timer1.Enabled = true; }

// Every unload brings the main window back; the summary's icon goes with it.
void Form_Unload(shell::App& app, shell::Form3& f) {
  f.Timer1.Enabled = false;
  app.platform.TrayDelete(shell::kSummaryTrayId);
  app.form1.Visible = true;
  app.UnloadForm3();
}

void UnloadForm3(shell::App& app, shell::Form3& f) {
  bool cancel = false;
  f.QueryUnload(cancel);
  if (!cancel) Form_Unload(app, f);
}

// The main window takes the summary's place, on the page a menu chose.
void BackTo(shell::App& app, shell::Form3& f, platform::Menu& page) {
  app.form1.Top = f.Top;
  app.form1.Left = f.Left;
  app.ExitFlag = 1;
  page.Click();
  UnloadForm3(app, f);
  app.ExitFlag = 0;
}

}  // namespace

void Timer1_Timer(shell::App& app, shell::Form3& f) {
  if (f.Shape3.BarWidth() <= kShortestSwingingBar || f.Shape4.BarWidth() <= kShortestSwingingBar) {
    f.Timer1.Enabled = false;
    return;
  }
  // The not-done bar's move at each step; the done bar moves the other way.
  static constexpr float kNotDoneMove[4] = {kSwing, -kSwing, -kSwing, kSwing};
  const int step = app.SummaryAnimStep;
  if (step < 0 || step > 3) return;
  f.Shape3.SetBarWidth(f.Shape3.BarWidth() + kNotDoneMove[step]);
  f.Shape4.SetBarWidth(f.Shape4.BarWidth() - kNotDoneMove[step]);
  app.SummaryAnimStep = std::int16_t((step + 1) % 4);
}

void Command1_Click(shell::App& app, shell::Form3& f) {
  const int index = f.List1.ListIndex;
  if (index < 0 || index >= f.List1.ListCount()) return;
  // A half-done verdict or sweep would append over the shortened history.
  if (!store::CompleteJournal(app)) return;
  if (!platform::files::FileExists(shell::HistoryPath(app))) return;
  // The record is the one the item shows, or nothing goes.
  const QString item = f.List1.List[index];
  const QString shownText = item.mid(QString::number(index + 1).size() + 1);
  store::DeleteHistoryRecord(app, index, shownText);
  FillHistoryList(f.List1, store::ReadHistoryText(app));
}

void Form_QueryUnload(shell::App& app, shell::Form3& f, bool& cancel) {
  shell::CloseToTray(app, f, cancel, shell::kSummaryTrayId, shell::kSummaryTrayMessage);
}

void Form_Resize(shell::App& app, shell::Form3& f) {
  shell::HideInTray(app, f, shell::kSummaryTrayId, shell::kSummaryTrayMessage);
}

void TrayOpen3(shell::App& app, shell::Form3& f) { shell::OpenFromTray(app, f, shell::kSummaryTrayId); }

void Menu_Back1_Click(shell::App& app, shell::Form3& f) { BackTo(app, f, app.form1.MenuMain); }

void Menu_Back2_Click(shell::App& app, shell::Form3& f) { BackTo(app, f, app.form1.MenuSetting); }

void Menu_Back4_Click(shell::App& app, shell::Form3& f) {
  app.form1.Top = f.Top;
  app.form1.Left = f.Left;
  app.ExitFlag = 1;
  UnloadForm3(app, f);
  // The main window's exit, with its complete shutdown.
  shell::MenuExit_Click(app);
}

void WireSummaryWindow(shell::App& app) {
  app.LoadForm3 = [&app](shell::Form3& f) {
    shell::On(app, f.Load, [&f] { Form_Load(f); });
    shell::On(app, f.Timer1.Tick, [&app, &f] { Timer1_Timer(app, f); });
    shell::On(app, f.Command1.Click, [&app, &f] { Command1_Click(app, f); });
    shell::On(app, f.QueryUnload, [&app, &f](bool& cancel) { Form_QueryUnload(app, f, cancel); });
    shell::On(app, f.Resize, [&app, &f] { Form_Resize(app, f); });
    shell::On(app, f.TrayOpen3, [&app, &f] { TrayOpen3(app, f); });
    shell::On(app, f.Unload, [&app, &f] { UnloadForm3(app, f); });
    shell::On(app, f.Menu_Back1.Click, [&app, &f] { Menu_Back1_Click(app, f); });
    shell::On(app, f.Menu_Back2.Click, [&app, &f] { Menu_Back2_Click(app, f); });
    shell::On(app, f.Menu_Back4.Click, [&app, &f] { Menu_Back4_Click(app, f); });
    f.Load();
  };
}

}  // namespace summary
