// Changes that span files, stopped at every step and completed by the next
// start; journals cut short, damaged, foreign; states a power cut can leave.

#include "store/journal.h"

#include "shell/app.h"
#include "shell/paths.h"
#include "shell/startup.h"
#include "store/history_file.h"
#include "store/shutdown.h"
#include "test_app.h"
#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using testsupport::Cp950Lines;
using testsupport::TestApp;

namespace files = platform::files;

namespace {

const QString kJournal = "datas/quendar.~jnl";
const QString kToday = "datas/2005/8/5.dat";  // the fake clock's day

QByteArray Counts(int notDone, int done) {
  return files::Int16Bytes(std::int16_t(notDone)) + files::Int16Bytes(std::int16_t(done));
}

// Every file under the data folder with its bytes, readable.
std::map<std::string, std::string> DataFiles(const TestApp& t) {
  std::map<std::string, std::string> all;
  for (const QString& entry : t.Tree()) {
    if (entry.startsWith("datas/") && QFileInfo(t.Path(entry)).isFile()) {
      all[entry.toStdString()] = files::Decode(t.ReadBytes(entry)).toStdString();
    }
  }
  return all;
}

// The error boxes shown, without the questions.
QStringList Errors(const testsupport::FakePlatform& platform) {
  QStringList errors = platform.ErrorTexts();
  errors.removeAll("(not an error box)");
  return errors;
}

// A small data folder: one past day of two plans, today with three plans and
// an old history record.
void LayOut(TestApp& t) {
  t.WriteLines("datas/2005/month.qdr", {" 7", " 8"});
  t.WriteLines("datas/2005/7/30.dat", {"", "09:00 寫報告", "--:-- 買菜"});
  t.WriteLines(kToday, {"晴", "06:30 晨跑", "--:-- 讀書", "21:00 寫日記"});
  t.WriteLines("datas/quendar.dat", {"舊的"});
  t.WriteBytes("datas/quendar.qdr", Counts(1, 4));
}

// The kinds of change, each as the user makes it on a started App.
struct Change {
  const char* name;
  std::function<void(TestApp&)> make;
};

void JudgeNotDone(TestApp& t) {
  t.platform.menuChoice = &t.app.form1.PlansPop_Del;
  t.platform.answers.push_back(platform::Answer::Yes);
  t.app.form1.Label10[1].MouseDown(platform::kRightButton, 0, 0, 0);
}

void ExitAWeekLater(TestApp& t) {
  // The past day and today's file pass into the history at this exit.
  t.app.TodayDay = 12;
  t.app.form1.MenuExit.Click();
}

const Change kChanges[] = {
    {"Verdict", JudgeNotDone},
    {"Sweep", ExitAWeekLater},
};

class StoppedAtEveryStep : public testing::TestWithParam<Change> {};

// A failure at each changing file operation in turn stands for a crash
// there. Whatever was on the disk then, the next start completes the change
// or drops it whole, and afterwards the folder is the one a change that
// never stopped leaves, or the one from before.
TEST_P(StoppedAtEveryStep, TheNextStartCompletesTheChangeOrNothingHappened) {
  std::map<std::string, std::string> before, after;
  {
    TestApp t;
    LayOut(t);
    before = DataFiles(t);
    ASSERT_TRUE(t.Start());
    GetParam().make(t);
    after = DataFiles(t);
    ASSERT_TRUE(Errors(t.platform).isEmpty()) << Errors(t.platform).join('|').toStdString();
    ASSERT_FALSE(after.contains(kJournal.toStdString()));
  }
  int completed = 0, dropped = 0;
  for (int n = 1;; ++n) {
    SCOPED_TRACE(n);
    TestApp t;
    LayOut(t);
    ASSERT_TRUE(t.Start());
    t.app.EndProgram = [] {};
    files::FailOperation(n);
    GetParam().make(t);
    const bool failed = !Errors(t.platform).isEmpty();
    files::ClearFaults();
    if (!failed) {
      auto now = DataFiles(t);
      if (now == after) break;
      // A folder that would not go is no error: it stays, with its index
      // line, until an exit finds it empty. Every plan is where it belongs.
      std::erase_if(now, [](const auto& file) { return file.first.ends_with("month.qdr"); });
      auto expected = after;
      std::erase_if(expected, [](const auto& file) { return file.first.ends_with("month.qdr"); });
      EXPECT_EQ(now, expected);
      continue;
    }
    // The next start, on the folder as the crash left it.
    testsupport::FakePlatform platform;
    platform.now = t.platform.now;
    shell::App again(platform, t.app.AppFolder());
    again.CompleteJournal = [&again] { return store::CompleteJournal(again); };
    ASSERT_TRUE(shell::Start(again));
    EXPECT_TRUE(Errors(platform).isEmpty());
    const auto now = DataFiles(t);
    if (now == after) {
      ++completed;
    } else {
      // Only a change that never wrote its journal may leave nothing done,
      // bar the temporary files a failed step removes anyway.
      EXPECT_EQ(now, before);
      ++dropped;
    }
  }
  EXPECT_GE(dropped, 1);
  EXPECT_GE(completed, 3);
}

INSTANTIATE_TEST_SUITE_P(Table, StoppedAtEveryStep, testing::ValuesIn(kChanges),
                         [](const auto& info) { return info.param.name; });

// A journal whole on the disk with none of its steps run: what a crash right
// after its flush leaves.
QByteArray LeaveJournal(TestApp& t, const store::Journal& change) {
  files::FailOperation(2);  // the journal is written; the first step fails
  EXPECT_THROW(store::RunChange(t.app, change, store::Finish::Now), files::FileError);
  files::ClearFaults();
  return t.ReadBytes(kJournal);
}

class Recovery : public testing::Test {
 protected:
  void SetUp() override {
    LayOut(t);
    ASSERT_TRUE(t.Start());
  }
  // A not-done verdict on 讀書, written down but not run.
  void LeaveVerdict() {
    files::RawLines lines = files::ReadRawLines(t.Path(kToday));
    lines[2] = 'x' + lines[2];
    store::Journal verdict(t.app);
    verdict.AppendHistory({files::Encode("讀書")});
    verdict.SetCounts({2, 4});
    verdict.ReplaceLines(t.Path(kToday), lines);
    journal = LeaveJournal(t, verdict);
  }
  const QByteArray kHistoryAfter = Cp950Lines({"舊的", "讀書"});
  const QByteArray kTodayAfter = Cp950Lines({"晴", "06:30 晨跑", "x--:-- 讀書", "21:00 寫日記"});

  TestApp t;
  QByteArray journal;
};

struct Damage {
  const char* name;
  // What the crash (or a power cut) left of the change's files.
  std::function<void(TestApp&)> leave;
};

class RecoveryOf : public Recovery, public testing::WithParamInterface<Damage> {};

TEST_P(RecoveryOf, EachStepEndsDoneOnce) {
  LeaveVerdict();
  GetParam().leave(t);
  EXPECT_TRUE(store::CompleteJournal(t.app));
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), kHistoryAfter);
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), Counts(2, 4));
  EXPECT_EQ(t.ReadBytes(kToday), kTodayAfter);
  EXPECT_FALSE(t.Exists(kJournal));
  EXPECT_FALSE(t.Exists("datas/2005/8/5.~dat"));
  EXPECT_TRUE(Errors(t.platform).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RecoveryOf,
    testing::Values(
        Damage{"NothingRan", [](TestApp&) {}},
        Damage{"AllRan",
               [](TestApp& t) {
                 t.WriteBytes("datas/quendar.dat", Cp950Lines({"舊的", "讀書"}));
                 t.WriteBytes("datas/quendar.qdr", Counts(2, 4));
                 t.WriteBytes(kToday, Cp950Lines({"晴", "06:30 晨跑", "x--:-- 讀書", "21:00 寫日記"}));
               }},
        Damage{"HistoryHalfAppended", [](TestApp& t) { t.WriteBytes("datas/quendar.dat", Cp950Lines({"舊的"}) + "\xc5"); }},
        Damage{"HistoryAppendedTwiceByHand",
               [](TestApp& t) { t.WriteBytes("datas/quendar.dat", Cp950Lines({"舊的", "讀書", "讀書"})); }},
        Damage{"CountedButNotMarked", [](TestApp& t) {
                 t.WriteBytes("datas/quendar.dat", Cp950Lines({"舊的", "讀書"}));
                 t.WriteBytes("datas/quendar.qdr", Counts(2, 4));
               }},
        // A rename whose data a power cut lost leaves an empty day file.
        Damage{"DayFileEmptied", [](TestApp& t) { t.WriteBytes(kToday, {}); }},
        Damage{"DayFileGone", [](TestApp& t) { QFile::remove(t.Path(kToday)); }},
        Damage{"CopyLeftHalfWritten", [](TestApp& t) { t.WriteBytes("datas/2005/8/5.~dat", "\r\n06:3"); }},
        Damage{"CountersGone", [](TestApp& t) { QFile::remove(t.Path("datas/quendar.qdr")); }}),
    [](const auto& info) { return info.param.name; });

TEST_F(Recovery, AJournalCutShortOrGarbledIsDroppedAndNothingElseChanges) {
  LeaveVerdict();
  const auto untouched = [&] {
    auto all = DataFiles(t);
    all.erase(kJournal.toStdString());
    return all;
  }();
  std::vector<QByteArray> damaged;
  for (qsizetype size = 0; size < journal.size(); size += 7) damaged.push_back(journal.left(size));
  damaged.push_back(journal.chopped(1));
  damaged.push_back(QByteArray(journal.size(), '\0'));  // its size reached the disk, its data did not
  QByteArray flipped = journal;
  flipped[flipped.size() - 3] = char(flipped[flipped.size() - 3] ^ 0x20);
  damaged.push_back(flipped);
  for (const QByteArray& bytes : damaged) {
    SCOPED_TRACE(bytes.size());
    t.WriteBytes(kJournal, bytes);
    EXPECT_TRUE(store::CompleteJournal(t.app));
    EXPECT_FALSE(t.Exists(kJournal));
    EXPECT_EQ(DataFiles(t), untouched);
  }
  EXPECT_TRUE(Errors(t.platform).isEmpty());
}

// A file the program did not write holds the journal's name: it stays as it
// is, is reported once, and no change runs over it.
TEST(ForeignJournal, StaysIsReportedOnceAndBlocksChanges) {
  struct Case {
    const char* name;
    std::function<void(TestApp&)> put;
  };
  const Case cases[] = {
      {"Text", [](TestApp& t) { t.WriteBytes(kJournal, "my notes\n"); }},
      {"Folder", [](TestApp& t) { QDir().mkpath(t.Path(kJournal)); }},
      // Whole and checked, but naming a file outside the data folder.
      {"StepOutsideTheDataFolder",
       [](TestApp& t) {
         t.WriteBytes("outside.txt", "keep");
         store::Journal change(t.app);
         change.RemoveFile(t.Path("outside.txt"), "keep");
         files::FailOperation(2);
         EXPECT_THROW(store::RunChange(t.app, change, store::Finish::Now), files::FileError);
         files::ClearFaults();
         ASSERT_TRUE(t.Exists(kJournal));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestApp t;
    LayOut(t);
    c.put(t);
    const auto before = DataFiles(t);
    ASSERT_TRUE(t.Start());
    EXPECT_EQ(Errors(t.platform).size(), 1) << Errors(t.platform).join('|').toStdString();
    EXPECT_TRUE(Errors(t.platform).value(0).startsWith(t.Path(kJournal)));
    JudgeNotDone(t);
    t.app.EndProgram = [] {};
    ExitAWeekLater(t);
    EXPECT_EQ(Errors(t.platform).size(), 1) << Errors(t.platform).join('|').toStdString();
    EXPECT_TRUE(t.Exists("outside.txt") || std::string(c.name) != "StepOutsideTheDataFolder");
    auto now = DataFiles(t);
    EXPECT_EQ(now, before);
  }
}

// The verdict is on the disk, journal and all, before the page repaints; the
// flushes of its files and the journal's removal come after.
TEST_F(Recovery, AVerdictIsWrittenDownBeforeTheRepaintAndTidiedAfter) {
  t.platform.holdAfterRepaint = true;
  JudgeNotDone(t);
  EXPECT_TRUE(t.Exists(kJournal));
  EXPECT_EQ(t.ReadBytes(kToday), kTodayAfter);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), kHistoryAfter);
  ASSERT_EQ(t.platform.afterRepaint.size(), 1u);
  t.platform.RunAfterRepaint();
  EXPECT_FALSE(t.Exists(kJournal));
  EXPECT_EQ(t.ReadBytes(kToday), kTodayAfter);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), kHistoryAfter);
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), Counts(2, 4));
}

// The sweep leaves a day file that changed after it was written down (it
// does not hold what was counted) for a later exit.
TEST_F(Recovery, ASweptDayThatChangedSinceStays) {
  t.app.TodayDay = 12;
  store::Journal change(t.app);
  change.AppendHistory({files::Encode("寫報告"), files::Encode("買菜")});
  change.SetCounts({3, 4});
  change.RemoveFile(t.Path("datas/2005/7/30.dat"), t.ReadBytes("datas/2005/7/30.dat"));
  change.RemoveFile(t.Path(kToday), t.ReadBytes(kToday));
  change.TidyYear(2005, 8);
  LeaveJournal(t, change);
  t.WriteLines(kToday, {"晴", "06:30 晨跑", "--:-- 讀書", "21:00 寫日記", "--:-- 新的"});
  EXPECT_TRUE(store::CompleteJournal(t.app));
  EXPECT_FALSE(t.Exists("datas/2005/7"));
  EXPECT_TRUE(t.Exists(kToday));
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), Cp950Lines({" 8"}));
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"舊的", "寫報告", "買菜"}));
}

}  // namespace
