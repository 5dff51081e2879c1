#include "today/verdict.h"

#include "shell/app.h"
#include "shell/file_error.h"
#include "shell/paths.h"
#include "store/day_file.h"
#include "store/history_file.h"
#include "today/today_page.h"

#include <optional>

namespace today {

namespace files = ui::files;

namespace {

enum class Verdict { Done, NotDone };

// Runs one step of an undo; a failure there must not hide the one being undone.
template <typename F>
void Undo(F&& step) {
  try {
    step();
  } catch (const files::FileError&) {
  }
}

// Marks the plan's line in its day file and records the verdict. The count and
// the history line are written first and taken back when the day file cannot
// be rewritten, so the three files change together or not at all. False, with
// nothing written, when the line no longer holds the plan the note shows.
bool RecordVerdict(shell::App& app, const shell::NotePlan& plan, int L, Verdict verdict,
                   store::RawLines& lines) {
  const int year = plan.day.year(), month = plan.day.month();
  const QString day = QString::number(plan.day.day());
  auto read = store::ReadDayFile(shell::DayFilePath(app, year, month, day));
  if (!read || L < 1 || L >= int(read->size()) || (*read)[std::size_t(L)] != plan.line) return false;
  lines = std::move(*read);

  store::EnsureCountersFile(app);
  std::optional<qint64> historySize;
  std::optional<store::Counts> countsBefore;
  try {
    if (verdict == Verdict::NotDone) historySize = store::AppendHistory(app, store::PlanTextBytes(plan.line));
    countsBefore = store::AddToCount(
        app, verdict == Verdict::Done ? store::CountField::DoneCount : store::CountField::NotDoneCount);
    lines[std::size_t(L)] = 'x' + plan.line;
    store::ReplaceDayFile(app, year, month, day, lines);
  } catch (const files::FileError&) {
    if (countsBefore) Undo([&] { store::WriteCounts(app, *countsBefore); });
    if (historySize) Undo([&] { files::TruncateFile(shell::HistoryPath(app), *historySize); });
    throw;
  }
  return true;
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
    if (app.platform.MsgBox(question, ui::Buttons::YesNo, kConfirmTitle) == ui::Answer::Yes) {
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
  if (Button == ui::kRightButton) OpenPlansPop(app, Index);
}

void PlansPop_Done_Click(shell::App& app) { GiveVerdict(app, Verdict::Done); }

void PlansPop_Del_Click(shell::App& app) { GiveVerdict(app, Verdict::NotDone); }

}  // namespace today
