// Closing the books at exit, on a started App whose today is 3 September 2005.

#include "shell/app.h"
#include "shell/settings_file.h"
#include "store/shutdown.h"
#include "test_app.h"
#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <gtest/gtest.h>

#include <functional>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

using testsupport::Cp950Lines;
using testsupport::TestApp;

namespace {

QByteArray Counts(int notDone, int done) {
  QByteArray bytes = platform::files::Int16Bytes(std::int16_t(notDone)) + platform::files::Int16Bytes(std::int16_t(done));
  return bytes;
}

// Every file under the data folder with its bytes.
std::map<QString, QByteArray> DataFiles(const TestApp& t) {
  std::map<QString, QByteArray> files;
  for (const QString& entry : t.Tree()) {
    if (entry.startsWith("datas")) files[entry] = t.ReadBytes(entry);
  }
  return files;
}

// The same, readable, with the history's records sorted: after a failure the
// days that waited come into the history later.
std::vector<std::string> Readable(const TestApp& t) {
  std::vector<std::string> entries;
  for (auto [path, bytes] : DataFiles(t)) {
    if (path == "datas/quendar.dat") {
      platform::files::RawLines lines = platform::files::ReadRawLines(t.Path(path));
      std::sort(lines.begin(), lines.end());
      bytes.clear();
      for (const QByteArray& line : lines) bytes += line + "|";
    }
    entries.push_back(path.toStdString() + " " + platform::files::Decode(bytes).toStdString());
  }
  return entries;
}

class Shutdown : public ::testing::Test {
 protected:
  void SetUp() override {
    t.platform.now = QDateTime(QDate(2005, 9, 3), QTime(21, 0));
    ASSERT_TRUE(t.Start());
    t.app.EndProgram = [this] { ++ended; };
  }
  void Exit() { t.app.form1.MenuExit.Click(); }

  TestApp t;
  int ended = 0;
};

TEST_F(Shutdown, TheWorkedExample) {
  t.WriteLines("datas/2005/month.qdr", {" 8", " 9"});
  t.WriteLines("datas/2005/8/30.dat", {"", "09:00 寫報告", "--:-- 買菜"});
  t.WriteLines("datas/2005/9/1.dat", {"開學", "07:30 繳學費"});
  t.WriteLines("datas/2005/9/3.dat", {"", "10:00 今天的事"});
  t.WriteLines("datas/2005/9/20.dat", {"", "10:00 以後的事"});
  t.WriteLines("datas/2005/10/2.dat", {"", "--:-- 下個月"});
  Exit();
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"寫報告", "買菜", "繳學費"}));
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), Counts(3, 0));
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), Cp950Lines({" 9"}));
  EXPECT_FALSE(t.Exists("datas/2005/8"));
  EXPECT_FALSE(t.Exists("datas/2005/9/1.dat"));
  EXPECT_EQ(t.ReadBytes("datas/2005/9/3.dat"), Cp950Lines({"", "10:00 今天的事"}));
  EXPECT_TRUE(t.Exists("datas/2005/9/20.dat"));
  EXPECT_TRUE(t.Exists("datas/2005/10/2.dat"));
  EXPECT_TRUE(t.platform.ErrorTexts().isEmpty());
}

TEST_F(Shutdown, NoDataCreatesOnlyTheCounters) {
  Exit();
  EXPECT_EQ(DataFiles(t), (std::map<QString, QByteArray>{{"datas", {}}, {"datas/quendar.qdr", Counts(0, 0)}}));
}

TEST_F(Shutdown, TodaysMarkedLinesGoWithoutCountingAndASecondExitChangesNothing) {
  t.WriteBytes("datas/quendar.qdr", Counts(5, 6));
  t.WriteLines("datas/2005/9/3.dat", {"x光節", "x09:00 已判定", "--:-- 還沒做", "x--:-- 也判定了"});
  Exit();
  EXPECT_EQ(t.ReadBytes("datas/2005/9/3.dat"), Cp950Lines({"x光節", "--:-- 還沒做"}));
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), Counts(5, 6));
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), QByteArray());  // there, and empty

  const auto after = DataFiles(t);
  t.app.form1.Label10[4].Left = 1234;
  store::ShutdownProcessing(t.app);
  EXPECT_EQ(DataFiles(t), after);
  EXPECT_EQ(platform::files::Int16At(t.ReadBytes("Quendar.ini"), 82 + 16), 1234);
}

struct PastDayCase {
  const char* name;
  QStringList lines;
  QStringList history;
};

class PastDay : public Shutdown, public ::testing::WithParamInterface<PastDayCase> {};

TEST_P(PastDay, CountsEachPlanWithoutAVerdictOnceAndGoes) {
  t.WriteLines("datas/2005/month.qdr", {" 9"});
  t.WriteLines("datas/2005/9/2.dat", GetParam().lines);
  Exit();
  const QByteArray history = GetParam().history.isEmpty() ? QByteArray() : Cp950Lines(GetParam().history);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), history);
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), Counts(int(GetParam().history.size()), 0));
  EXPECT_FALSE(t.Exists("datas/2005/9/2.dat"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, PastDay,
    ::testing::Values(PastDayCase{"OnlyANote", {"颱風天"}, {}},
                      PastDayCase{"EmptyFile", {}, {}},
                      // Judged before midnight while the program ran on: counted then, not again.
                      PastDayCase{"MarkedLines", {"", "x09:00 已完成", "--:-- 沒做", "x10:00 已判未完成"}, {"沒做"}},
                      PastDayCase{"EmptyPlanText", {"", "--:-- "}, {""}}),
    [](const auto& info) { return info.param.name; });

// Lines another tool wrote: the time field is not ASCII, and the text holds
// bytes the code page has no character for. The history gets the text's own
// bytes, from the 7th character on, not a re-encoding with "?" in them.
TEST_F(Shutdown, APlanTextKeepsItsBytesWhateverTheyDecodeTo) {
  const QByteArray head = platform::files::Encode("中文中文中文");
  // The last line's sixth character is a lead byte that pairs with nothing.
  t.WriteBytes("datas/2005/9/1.dat",
               "\r\n" + head + "\xff\xfe tail\r\n" + head + "\x80\r\n\xde-:-\xb7\xa4\xd1-rest\r\n");
  Exit();
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), "\xff\xfe tail\r\n\x80\r\n-rest\r\n");
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), Counts(3, 0));
}

TEST_F(Shutdown, APastMonthEmptiesItsYearInDayOrder) {
  t.WriteLines("datas/2004/month.qdr", {" 5"});
  t.WriteLines("datas/2004/5/17.dat", {"", "--:-- 十七日"});
  t.WriteLines("datas/2004/5/3.dat", {"", "--:-- 三日"});
  Exit();
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"三日", "十七日"}));
  EXPECT_FALSE(t.Exists("datas/2004"));
}

TEST_F(Shutdown, AYearKeepsItsOtherMonths) {
  t.WriteLines("datas/2005/month.qdr", {" 5", " 3", " 9", "05"});
  t.WriteLines("datas/2005/3/3.dat", {"", "--:-- 三月"});
  t.WriteLines("datas/2005/5/17.dat", {"", "--:-- 五月"});
  t.WriteLines("datas/2005/9/30.dat", {"", "--:-- 以後"});
  Exit();
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), Cp950Lines({" 9"}));
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"三月", "五月"}));
}

TEST_F(Shutdown, ForeignFilesAndTheirFoldersStayWithoutAnError) {
  t.WriteLines("datas/2004/month.qdr", {" 5", " 6"});
  t.WriteLines("datas/2004/5/3.dat", {"", "--:-- 三日"});
  t.WriteLines("datas/2004/5/readme.txt", {"mine"});
  t.WriteLines("datas/2004/6/05.dat", {"", "--:-- 不是日檔"});
  t.WriteLines("datas/2004/6/40.dat", {"", "--:-- 也不是"});
  t.WriteLines("datas/2004/6/7.dat", {"", "--:-- 七日"});
  Exit();
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"三日", "七日"}));
  EXPECT_TRUE(t.Exists("datas/2004/5/readme.txt"));
  EXPECT_TRUE(t.Exists("datas/2004/6/05.dat"));
  EXPECT_TRUE(t.Exists("datas/2004/6/40.dat"));
  EXPECT_FALSE(t.Exists("datas/2004/5/3.dat"));
  EXPECT_EQ(t.ReadBytes("datas/2004/month.qdr"), Cp950Lines({" 5", " 6"}));
  EXPECT_TRUE(t.platform.ErrorTexts().isEmpty());
}

TEST_F(Shutdown, AnEmptyPastMonthFolderGoesWithItsIndexLine) {
  t.WriteLines("datas/2004/month.qdr", {" 5"});
  t.WriteBytes("datas/2004/5/.keep", {});
  ASSERT_TRUE(QFile::remove(t.Path("datas/2004/5/.keep")));
  Exit();
  EXPECT_FALSE(t.Exists("datas/2004"));
}

struct CopyCase {
  const char* name;
  std::map<QString, QByteArray> files;  // in datas/2005/8
  QStringList history;
  QStringList kept;  // the files of datas/2005/8 that stay
};

class LeftoverCopy : public Shutdown, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(LeftoverCopy, StandsInForAMissingDayFileAndGoesOnlyWithNothingOfItsOwn) {
  t.WriteLines("datas/2005/month.qdr", {" 8"});
  for (const auto& [name, bytes] : GetParam().files) t.WriteBytes("datas/2005/8/" + name, bytes);
  Exit();
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines(GetParam().history));
  QStringList kept;
  for (const QString& entry : t.Tree().filter("datas/2005/8/")) kept.append(entry.mid(13));
  EXPECT_EQ(kept, GetParam().kept);
  EXPECT_EQ(t.Exists("datas/2005/8"), !kept.isEmpty());
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), kept.isEmpty() ? QByteArray() : Cp950Lines({" 8"}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeftoverCopy,
    ::testing::Values(
        CopyCase{"UpdateCopyAlone", {{"4.~dat", Cp950Lines({"", "--:-- 副本"})}}, {"副本"}, {}},
        CopyCase{"NewCopyAlone", {{"4.dat.~new", Cp950Lines({"", "--:-- 新檔"})}}, {"新檔"}, {}},
        // Cut off before their first byte: debris that stands for nothing.
        CopyCase{"EmptyCopiesAlone", {{"4.~dat", {}}, {"4.dat.~new", {}}}, {}, {}},
        CopyCase{"UpdateCopyBeforeNewCopy",
                 {{"4.~dat", Cp950Lines({"", "--:-- 副本"})}, {"4.dat.~new", Cp950Lines({""})}}, {"副本"}, {}},
        // What an edit, a verdict or a delete of the day had written: nothing
        // the day file lacks, a marked line being the same plan.
        CopyCase{"CopyOfAnUpdate",
                 {{"4.dat", Cp950Lines({"", "--:-- 甲", "--:-- 乙"})},
                  {"4.~dat", Cp950Lines({"新註記", "x--:-- 甲"})},
                  {"4.dat.~new", Cp950Lines({""})}},
                 {"甲", "乙"},
                 {}},
        // Cut short while it was written: a last line without its end is no plan.
        CopyCase{"CopyCutShort",
                 {{"4.dat", Cp950Lines({"", "--:-- 甲", "--:-- 乙乙"})},
                  {"4.~dat", Cp950Lines({"", "--:-- 甲"}) + platform::files::Encode("--:-- 乙")}},
                 {"甲", "乙乙"},
                 {}},
        // A new day file made while the copy held the day's earlier plans.
        CopyCase{"CopyWithPlansTheDayFileLacks",
                 {{"4.dat", Cp950Lines({"", "--:-- 新"})}, {"4.~dat", Cp950Lines({"", "--:-- 舊一", "--:-- 舊二"})}},
                 {"新"},
                 {"4.~dat"}},
        CopyCase{"CopyWithOneMoreOfTheSamePlan",
                 {{"4.dat", Cp950Lines({"", "--:-- 同"})}, {"4.~dat", Cp950Lines({"", "--:-- 同", "--:-- 同"})}},
                 {"同"},
                 {"4.~dat"}},
        CopyCase{"CopyWithAPlanJudgedSince",
                 {{"4.dat", Cp950Lines({"", "--:-- 甲"})}, {"4.~dat", Cp950Lines({"", "--:-- 甲", "x--:-- 乙"})}},
                 {"甲"},
                 {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(Shutdown, ACopyKeptForItsOwnPlansStandsInAtTheNextExit) {
  t.WriteLines("datas/2005/month.qdr", {" 8"});
  t.WriteLines("datas/2005/8/4.dat", {"", "--:-- 新"});
  t.WriteLines("datas/2005/8/4.~dat", {"", "--:-- 舊一", "--:-- 舊二"});
  Exit();
  store::ShutdownProcessing(t.app);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"新", "舊一", "舊二"}));
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), Counts(3, 0));
  EXPECT_FALSE(t.Exists("datas/2005"));
}

TEST_F(Shutdown, CopiesOfTodayAndLaterDaysAreLeftAlone) {
  t.WriteLines("datas/2005/9/3.~dat", {"", "--:-- 今天"});
  t.WriteLines("datas/2005/9/9.~dat", {"", "--:-- 以後"});
  Exit();
  EXPECT_TRUE(t.Exists("datas/2005/9/3.~dat"));
  EXPECT_TRUE(t.Exists("datas/2005/9/9.~dat"));
  // Today's copy stands in for today's file, which opens the history.
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), QByteArray());
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), Counts(0, 0));
}

TEST_F(Shutdown, CountsStopAt32767) {
  t.WriteBytes("datas/quendar.qdr", Counts(32766, 9));
  t.WriteLines("datas/2005/8/1.dat", {"", "--:-- 一", "--:-- 二", "--:-- 三"});
  Exit();
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), Counts(32767, 9));
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"一", "二", "三"}));
}

TEST_F(Shutdown, TheSettingsFileKeepsItsHeaderItsTailAndItsLength) {
  QByteArray settings = shell::InitialSettingsBytes() + "tail";
  settings[0] = '\x7f';
  settings[70] = '\x33';
  t.WriteBytes("Quendar.ini", settings);
  t.app.form1.Label10[14].Left = 4321;
  t.app.form1.Label10[14].Top = 0;
  Exit();
  const QByteArray after = t.ReadBytes("Quendar.ini");
  ASSERT_EQ(after.size(), settings.size());
  EXPECT_EQ(after.left(82), settings.left(82));
  EXPECT_EQ(after.mid(142), "tail");
  EXPECT_EQ(platform::files::Int16At(after, 82 + 56), 4321);
  EXPECT_EQ(platform::files::Int16At(after, 84 + 56), 0);
  EXPECT_EQ(platform::files::Int16At(after, 82), t.app.form1.Label10[0].Left);
}

TEST_F(Shutdown, AMissingSettingsFileIsNotCreated) {
  ASSERT_TRUE(QFile::remove(t.Path("Quendar.ini")));
  Exit();
  EXPECT_FALSE(t.Exists("Quendar.ini"));
  EXPECT_TRUE(t.platform.ErrorTexts().isEmpty());
}

TEST_F(Shutdown, AFolderThatCannotChangeKeepsItsDaysUncountedAndTheOthersGo) {
  if (geteuid() == 0) GTEST_SKIP() << "root may change any folder";
  t.WriteLines("datas/2004/month.qdr", {" 5", " 6"});
  t.WriteLines("datas/2004/5/3.dat", {"", "--:-- 五月三日"});
  t.WriteLines("datas/2004/5/4.dat", {"", "--:-- 五月四日"});
  t.WriteLines("datas/2004/6/1.dat", {"", "--:-- 六月"});
  QFile(t.Path("datas/2004/5")).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
  Exit();
  QFile(t.Path("datas/2004/5")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(t.platform.ErrorTexts().size(), 1);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"六月"}));
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), Counts(1, 0));
  EXPECT_TRUE(t.Exists("datas/2004/5/3.dat"));
  EXPECT_TRUE(t.Exists("datas/2004/5/4.dat"));
  EXPECT_EQ(t.ReadBytes("datas/2004/month.qdr"), Cp950Lines({" 5"}));
}

// A failure injected into each changing file operation of an exit in turn:
// the failure is reported, the exit still ends the program, and the next exit
// reaches the state a clean exit reaches, with no plan lost or counted twice.
TEST(ShutdownFailing, NothingIsLostAtAnyStep) {
  const auto setup = [](TestApp& t) {
    t.platform.now = QDateTime(QDate(2005, 9, 3), QTime(21, 0));
    t.WriteLines("datas/2004/month.qdr", {" 12"});
    t.WriteLines("datas/2004/12/31.dat", {"", "--:-- 年底", "--:-- 跨年"});
    t.WriteLines("datas/2005/month.qdr", {" 8", " 9"});
    t.WriteLines("datas/2005/8/30.dat", {"", "09:00 寫報告"});
    t.WriteLines("datas/2005/8/31.~dat", {"", "09:00 副本"});
    t.WriteLines("datas/2005/9/1.dat", {"開學", "07:30 繳學費"});
    t.WriteLines("datas/2005/9/3.dat", {"", "x10:00 判過了", "10:00 今天的事"});
    t.WriteLines("datas/quendar.dat", {"舊的"});
  };
  const QStringList plans{"年底", "跨年", "寫報告", "副本", "繳學費"};

  std::map<QString, QByteArray> clean;
  std::vector<std::string> cleanReadable;
  {
    TestApp t;
    setup(t);
    ASSERT_TRUE(t.Start());
    t.app.form1.MenuExit.Click();
    clean = DataFiles(t);
    cleanReadable = Readable(t);
  }
  int n = 1;
  for (; n < 80; ++n) {
    SCOPED_TRACE(n);
    TestApp t;
    setup(t);
    ASSERT_TRUE(t.Start());
    int ended = 0;
    t.app.EndProgram = [&] { ++ended; };
    platform::files::FailOperation(n);
    t.app.form1.MenuExit.Click();
    platform::files::ClearFaults();
    EXPECT_EQ(ended, 1);

    // A failing exit stops where it failed: it never appends a day twice.
    for (const QString& plan : plans) {
      const platform::files::RawLines stopped = platform::files::ReadRawLines(t.Path("datas/quendar.dat"));
      EXPECT_LE(std::count(stopped.begin(), stopped.end(), platform::files::Encode(plan)), 1) << plan.toStdString();
    }
    const bool reported = !t.platform.ErrorTexts().isEmpty();
    if (!reported && DataFiles(t) == clean) break;

    // The next exit completes what the failure stopped: every plan is then
    // in the history or still in a day file of its own, once.
    shell::App again(t.platform, t.app.AppFolder());
    again.TodayYear = 2005, again.TodayMonth = 9, again.TodayDay = 3;
    store::ShutdownProcessing(again);
    const platform::files::RawLines history = platform::files::ReadRawLines(t.Path("datas/quendar.dat"));
    int inHistory = 0;
    for (const QString& plan : plans) {
      const QByteArray text = platform::files::Encode(plan);
      const int copies = int(std::count(history.begin(), history.end(), text));
      bool inDayFile = false;
      for (const auto& [path, bytes] : DataFiles(t)) inDayFile |= path.count('/') == 3 && bytes.contains(text);
      EXPECT_EQ(copies + int(inDayFile), 1) << plan.toStdString();
      inHistory += copies;
    }
    EXPECT_EQ(platform::files::Int16At(t.ReadBytes("datas/quendar.qdr"), 0), inHistory);
    EXPECT_EQ(Readable(t), cleanReadable);
  }
  EXPECT_GT(n, 10);
  EXPECT_LT(n, 80);
}

}  // namespace
