#include "today/verdict.h"

#include "shell/app.h"
#include "shell/file_error.h"
#include "shell/paths.h"
#include "store/day_file.h"
#include "store/history_file.h"
#include "store/journal.h"
#include "today/today_page.h"

namespace today {

namespace {

enum class Verdict { Done, NotDone };

// Marks the plan's line in its day file and records the verdict, as one
// change: the count, the history line and the mark reach the disk together
// or, after a crash, are completed together at the next start. The page may
// repaint as soon as the change is written down; the files it touched are
// flushed after that. False, with nothing written, when the line no longer
// holds the plan the note shows.
bool RecordVerdict(shell::App& app, const shell::NotePlan& plan, int L, Verdict verdict,
                   store::RawLines& lines) {
  // A verdict left half done would otherwise be judged on the old line.
  if (!store::CompleteJournal(app)) return false;
  const int year = plan.day.year(), month = plan.day.month();
  const QString path = shell::DayFilePath(app, year, month, QString::number(plan.day.day()));
  auto read = store::ReadDayFile(path);
  if (!read || L < 1 || L >= int(read->size()) || (*read)[std::size_t(L)] != plan.line) return false;
  lines = std::move(*read);

  store::EnsureCountersFile(app);
  store::Journal change(app);
  if (verdict == Verdict::NotDone) change.AppendHistory({store::PlanTextBytes(plan.line)});
  change.AddToCount(verdict == Verdict::Done ? store::CountField::DoneCount : store::CountField::NotDoneCount);
  lines[std::size_t(L)] = 'x' + plan.line;
  change.ReplaceLines(path, lines);
  return store::RunChange(app, change, store::Finish::AfterRepaint);
}

// The calendar page after a verdict: the editor's list when it shows the day
// of the verdict (its unjudged plans, numbered without gaps), and the grid
// with today's list.
void RefillLists(shell::App& app, const QDate& day, const store::RawLines& lines) {
  shell::Form1& f = app.form1;
  if (app.ShownYear == day.year() && app.ShownMonth == day.month() &&
      f.Command1.Tag == QString::number(day.day())) {
    f.List2.Clear();
    store::ListUnmarkedPlans(f.List2, lines);
  }
  if (app.BuildMonth) app.BuildMonth();
}

void GiveVerdict(shell::App& app, Verdict verdict) {
  shell::Form1& f = app.form1;
  bool isIndex = false;
  const int i = f.Label12.Tag.toInt(&isIndex);
  // A note that stands for no plan has nothing to judge.
  if (isIndex && i >= 0 && i < shell::kNoteCount && !f.Label10[i].Tag.isEmpty() &&
      f.NotePlans[std::size_t(i)].day.isValid()) {
    const shell::NotePlan plan = f.NotePlans[std::size_t(i)];
    const int L = f.Label10[i].Tag.toInt();
    const QString question = verdict == Verdict::Done ? kConfirmDone : kConfirmNotDone;
    if (app.platform.MsgBox(question, platform::Buttons::YesNo, kConfirmTitle) == platform::Answer::Yes) {
      shell::Guarded(app, [&] {
        store::RawLines lines;
        if (!RecordVerdict(app, plan, L, verdict, lines)) return;
        RefillLists(app, plan.day, lines);
        ClearNote(f, i);
      });
    }
  }
  f.Label12.Tag.clear();
  MenuMain_Click(app);
}

}  // namespace

void OpenPlansPop(shell::App& app, int Index) {
  shell::Form1& f = app.form1;
  f.Label10[Index].BackColor = shell::kTimeBarColor;
  f.Shape2.Visible = false;
  f.Label12.Tag = QString::number(Index);
  app.platform.PopupMenu(f.PlansPop);
}

void Label11_MouseDown(shell::App& app, int Index, int Button) {
  if (Button == platform::kRightButton) OpenPlansPop(app, Index);
}

void PlansPop_Done_Click(shell::App& app) { GiveVerdict(app, Verdict::Done); }

void PlansPop_Del_Click(shell::App& app) { GiveVerdict(app, Verdict::NotDone); }

}  // namespace today
