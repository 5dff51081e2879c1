// Power cuts in the middle of each kind of change. Every change runs once on
// a small data folder while its durable operations are recorded; from that
// record every state a power cut could have left is rebuilt (see
// crash_model.h), and in each the program starts, recovers and exits as the
// user's next session would. Then every plan must stand in exactly one
// place: an unjudged line of its day file, or counted once, and when not done
// once in the history; and every file must be well-formed.

#include "books.h"
#include "crash_model.h"
#include "shell/app.h"
#include "test_app.h"
#include "platform/files/durable_trace.h"
#include "platform/files/file_ops.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>

namespace {

using testsupport::Books;
using testsupport::TestApp;

// Today is Friday 5 August 2005: day d of August sits in cell d. The exit
// sweeps a day of this month, a month of this year with two day files, one
// with a day file only and the last month of last year, so folders, index
// lines and a whole year folder go.
void WriteFixture(const TestApp& t) {
  t.WriteLines("datas/2004/12/31.dat", {"", "--:-- Z1"});
  t.WriteLines("datas/2004/month.qdr", {" 12"});
  t.WriteLines("datas/2005/6/30.dat", {"", "--:-- A1", "08:00 A2"});
  t.WriteLines("datas/2005/7/3.dat", {"七月", "--:-- B1"});
  t.WriteLines("datas/2005/7/17.dat", {"", "09:30 B2"});
  t.WriteLines("datas/2005/8/2.dat", {"", "--:-- C1"});
  t.WriteLines("datas/2005/8/5.dat", {"今日", "07:00 T1", "--:-- T2"});
  t.WriteLines("datas/2005/8/20.dat", {"", "--:-- F1"});
  t.WriteLines("datas/2005/9/1.dat", {"", "--:-- S1"});
  t.WriteLines("datas/2005/month.qdr", {" 6", " 7", " 8", " 9"});
  t.WriteLines("datas/quendar.dat", {"H1", "H2"});
  t.WriteBytes("datas/quendar.qdr", platform::files::Int16Bytes(2) + platform::files::Int16Bytes(1));
}

const QDate kToday(2005, 8, 5);

void OpenCell(TestApp& t, int cell) {
  t.app.form1.Label5[cell].Click();
  t.app.form1.Label5[cell].DblClick();
}

void Judge(TestApp& t, const QString& text, bool done) {
  shell::Form1& f = t.app.form1;
  f.MenuMain.Click();
  for (int i = 0; i < shell::kNoteCount; ++i) {
    if (!f.Label10[i].Visible || f.NotePlans[std::size_t(i)].line.mid(6) != text.toLatin1()) continue;
    t.platform.menuChoice = done ? &f.PlansPop_Done : &f.PlansPop_Del;
    t.platform.answers.push_back(platform::Answer::Yes);
    f.Label10[i].MouseDown(platform::kRightButton, 0, 0, 0);
    return;
  }
  ADD_FAILURE() << "no note shows " << qPrintable(text);
}

void Exit(TestApp& t) {
  t.app.EndProgram = [] {};
  t.app.form1.MenuExit.Click();
}

struct Change {
  Change(const char* name, std::function<void(TestApp&)> run, std::function<void(TestApp&)> before = [](TestApp&) {})
      : name(name), run(std::move(run)), before(std::move(before)) {}
  Change& Done(const QString& text) { return judgedDone = text, *this; }
  Change& NotDone(const QString& text) { return judgedNotDone = text, *this; }
  Change& Deletes(const QString& text) { return deleted = text, *this; }
  Change& Adds(const QString& text) { return added = text, *this; }
  Change& DeletesRecord(const QString& text) { return historyDeleted = text, *this; }

  const char* name;
  std::function<void(TestApp&)> run;
  std::function<void(TestApp&)> before;
  // What the change may have done to single plans and records.
  QString judgedDone, judgedNotDone, deleted, added, historyDeleted;
};

// The error boxes among the boxes shown; a question asked is none.
QStringList ErrorBoxes(const TestApp& t) {
  QStringList errors = t.platform.ErrorTexts();
  errors.removeAll(QStringLiteral("(not an error box)"));
  return errors;
}

// A plan of the snapshot's day files, after the recovery and the exit.
void CheckDayPlan(const Change& c, const QString& text, const QDate& day, const Books& before, const Books& after,
                  QStringList& problems) {
  const int inDay = after.InDay(text) + after.Marked(text);
  const int recorded = after.InHistory(text) - before.InHistory(text);
  const QString where = QStringLiteral("%1: %2 times in day files, %3 times newly in the history").arg(text).arg(inDay).arg(recorded);
  if (before.Marked(text)) {
    // Judged before the change: counted then, so it must simply be gone.
    if (inDay + recorded != 0) problems << where + " (judged before)";
  } else if (day < kToday) {
    if (inDay != 0 || recorded != 1) problems << where + " (a past day's plan)";
  } else if (text == c.judgedNotDone) {
    if (inDay + recorded != 1) problems << where + " (judged not done)";
  } else if (text == c.judgedDone || text == c.deleted) {
    if (inDay > 1 || recorded != 0) problems << where;
  } else if (inDay != 1 || recorded != 0) {
    problems << where;
  }
  if (after.Marked(text)) problems << text + ": a marked line outlived the exit";
}

QStringList CheckBooks(const Change& c, const Books& before, const Books& after) {
  QStringList problems = after.problems;
  for (const QString& s : after.strangers) problems << s + ": a file with no place in the data folder";
  int newRecords = 0;
  std::set<QString> dayPlans;
  for (const auto& [text, day] : before.dayOf) {
    dayPlans.insert(text);
    CheckDayPlan(c, text, day, before, after, problems);
    newRecords += after.InHistory(text) - before.InHistory(text);
  }
  if (!c.added.isEmpty()) {
    if (after.InDay(c.added) > 1 || after.InHistory(c.added) != 0) problems << c.added + ": the added plan stands twice";
    dayPlans.insert(c.added);
  }
  for (const auto& [record, n] : before.inHistory) {
    const int now = after.InHistory(record);
    const bool ok = now == n || (record == c.historyDeleted && now == n - 1);
    if (!ok && !dayPlans.count(record)) problems << QStringLiteral("history record %1: %2 times, was %3").arg(record).arg(now).arg(n);
  }
  for (const auto& [record, n] : after.inHistory) {
    if (!before.inHistory.count(record) && !dayPlans.count(record)) problems << "history record from nowhere: " + record;
  }
  if (after.notDone - before.notDone != newRecords) {
    problems << QStringLiteral("the not-done count went from %1 to %2 with %3 new records")
                    .arg(before.notDone).arg(after.notDone).arg(newRecords);
  }
  const bool doneCounted = !c.judgedDone.isEmpty() && after.InDay(c.judgedDone) == 0;
  if (after.done - before.done != int(doneCounted)) {
    problems << QStringLiteral("the done count went from %1 to %2").arg(before.done).arg(after.done);
  }
  return problems;
}

struct Outcome {
  QStringList problems;
  QStringList untidy;
};

// The user's next session on a crash state: start, recover, exit.
Outcome NextSession(const crash::Tree& state, const Change& c, const Books& before) {
  TestApp t(false);
  crash::Materialize(state, t.dir.path());
  Outcome o;
  if (!t.Start()) o.problems << "the start-up refused";
  else Exit(t);
  for (const QString& text : ErrorBoxes(t)) o.problems << "box shown: " + text;
  const Books after = testsupport::ReadBooks(t.dir.path());
  o.problems += CheckBooks(c, before, after);
  o.untidy = after.untidy;
  return o;
}

class CrashStates : public testing::TestWithParam<Change> {};

TEST_P(CrashStates, EveryPlanStandsInExactlyOnePlaceAfterTheNextSession) {
  const Change& c = GetParam();
  TestApp t;
  WriteFixture(t);
  ASSERT_TRUE(t.Start());
  c.before(t);
  const crash::Tree snapshot = crash::Snapshot(t.dir.path());
  const Books before = testsupport::ReadBooks(t.dir.path());
  ASSERT_TRUE(before.problems.isEmpty()) << qPrintable(before.problems.join('\n'));

  platform::files::StartTrace();
  c.run(t);
  const platform::files::DurableTrace trace = platform::files::TakeTrace();
  ASSERT_TRUE(ErrorBoxes(t).isEmpty());
  ASSERT_FALSE(trace.empty());

  const crash::CrashStates built = crash::BuildCrashStates(snapshot, t.dir.path(), trace);
  // The untouched folder and the finished change are among them.
  ASSERT_TRUE(std::count(built.states.begin(), built.states.end(), snapshot));
  ASSERT_TRUE(std::count(built.states.begin(), built.states.end(), crash::Snapshot(t.dir.path())));

  int held = 0, untidy = 0;
  QStringList firstFailures;
  std::set<QString> untidyKinds;
  for (const crash::Tree& state : built.states) {
    const Outcome o = NextSession(state, c, before);
    if (!o.untidy.isEmpty()) ++untidy;
    for (const QString& u : o.untidy) untidyKinds.insert(u);
    if (o.problems.isEmpty()) {
      ++held;
    } else if (firstFailures.size() < 5) {
      QStringList files;
      for (const auto& [path, bytes] : state.files) files << path;
      firstFailures << o.problems.join("; ") + "\n    in a state holding " + files.join(' ');
    }
  }
  std::printf("crash states of %s: %zu operations, %ld subsets tried, %zu distinct states, %d held; %d left the "
              "month index untidy\n",
              c.name, trace.size(), built.combinations, built.states.size(), held, untidy);
  for (const QString& u : untidyKinds) std::printf("  untidy: %s\n", qPrintable(u));
  EXPECT_EQ(held, int(built.states.size())) << qPrintable(firstFailures.join('\n'));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, CrashStates,
    testing::Values(
        Change("VerdictDone", [](TestApp& t) { Judge(t, "T1", true); }).Done("T1"),
        Change("VerdictNotDone", [](TestApp& t) { Judge(t, "T2", false); }).NotDone("T2"),
        // The day's marked line goes at the exit too.
        Change("ExitSweep", Exit, [](TestApp& t) { Judge(t, "T1", true); }),
        Change("Add",
               [](TestApp& t) {
                 // October 2005, a month with no folder yet; it starts on a Saturday.
                 t.app.form1.Label4[1].Click();
                 t.app.form1.Label4[1].Click();
                 OpenCell(t, 8);
                 t.app.form1.Text1.SetText("N1");
                 t.app.form1.Command2.Click();
               })
            .Adds("N1"),
        Change("Edit",
               [](TestApp& t) {
                 OpenCell(t, 20);
                 t.app.form1.Text3.SetText("新註記");
                 t.app.form1.Command3.Click();
               }),
        // The last plan of September: the day file, the folder and the index line go.
        Change("Del",
               [](TestApp& t) {
                 t.app.form1.Label4[1].Click();  // September starts on a Thursday
                 OpenCell(t, 4);
                 t.app.form1.List2.ListIndex = 0;
                 t.app.form1.Command1.Click();
               })
            .Deletes("S1"),
        Change("HistoryDelete",
               [](TestApp& t) {
                 t.app.form1.MenuView.Click();
                 t.app.GetForm3().List1.ListIndex = 0;
                 t.app.GetForm3().Command1.Click();
               })
            .DeletesRecord("H1")),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
