#include "store/wiring.h"

#include "shell/app.h"
#include "shell/events.h"
#include "store/day_editor.h"
#include "store/journal.h"
#include "store/shutdown.h"

namespace store {

void WireStore(shell::App& app) {
  shell::Form1& f = app.form1;
  // A day's plans change only once no verdict or sweep is left half done,
  // whose completion would write over them.
  shell::On(app, f.Command2.Click, [&app] { if (CompleteJournal(app)) Command2_Click(app); });
  shell::On(app, f.Command3.Click, [&app] { if (CompleteJournal(app)) Command3_Click(app); });
  shell::On(app, f.Command1.Click, [&app] { if (CompleteJournal(app)) Command1_Click(app); });
  shell::On(app, f.Text1.KeyPress, [&app](int& KeyAscii) { Text1_KeyPress(app, KeyAscii); });
  shell::On(app, f.Text1.Change, [&app] { Text1_Change(app); });
  shell::On(app, f.Text3.Change, [&app] { Text3_Change(app); });
  app.ShutdownProcessing = [&app] { ShutdownProcessing(app); };
  app.CompleteJournal = [&app] { return CompleteJournal(app); };
}

}  // namespace store
