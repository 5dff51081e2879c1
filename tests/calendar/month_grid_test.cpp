#include "calendar/month_grid.h"

#include "shell/app.h"
#include "test_app.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using testsupport::TestApp;

namespace {

struct MonthCase {
  int year, month;
  int startSerial, firstWeekday, days;
  int formHeight;
};

class MonthLayout : public ::testing::TestWithParam<MonthCase> {};

TEST_P(MonthLayout, PlacesTheDaysAndSizesTheWindow) {
  const MonthCase& c = GetParam();
  TestApp t;
  ASSERT_TRUE(t.Start());
  t.app.ShownYear = std::int16_t(c.year);
  t.app.ShownMonth = std::int16_t(c.month);
  calendar::BuildMonth(t.app);
  const shell::Form1& f = t.app.form1;
  EXPECT_EQ(t.app.MonthStartSerial, c.startSerial);
  EXPECT_EQ(t.app.FirstWeekday, c.firstWeekday);
  EXPECT_EQ(t.app.MonthDays, c.days);
  EXPECT_EQ(f.Height, c.formHeight);
  EXPECT_EQ(f.Shape1.Height, c.formHeight == 5145 ? 4190 : 3710);
  EXPECT_EQ(f.Label2.Caption, QStringLiteral("%1 年 %2 月 ").arg(c.year).arg(c.month));
  for (int i = 0; i < 42; ++i) {
    const int day = i - c.firstWeekday + 1;
    const bool inMonth = day >= 1 && day <= c.days;
    EXPECT_EQ(f.Label5[i].Tag, inMonth ? QString::number(day) : "0") << i;
    EXPECT_EQ(f.Label5[i].Caption, inMonth ? QString::number(day) + "‧" : "") << i;
  }
  EXPECT_TRUE(t.platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Months, MonthLayout,
                         ::testing::Values(MonthCase{2005, 8, 2039, 1, 31, 4660},
                                           MonthCase{2005, 10, 2100, 6, 31, 5145},
                                           MonthCase{2004, 2, 1492, 0, 29, 4660},
                                           MonthCase{2005, 2, 1858, 2, 28, 4660},
                                           MonthCase{2001, 1, 366, 1, 31, 4660},
                                           MonthCase{2050, 12, 18597, 4, 31, 4660}));

struct RangeCase {
  int year, month;
  int shownYear, shownMonth;
  QStringList messages;
};

class MonthRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(MonthRange, PullsTheMonthBackIntoTheCalendar) {
  const RangeCase& c = GetParam();
  TestApp t;
  ASSERT_TRUE(t.Start());
  t.app.ShownYear = std::int16_t(c.year);
  t.app.ShownMonth = std::int16_t(c.month);
  calendar::BuildMonth(t.app);
  EXPECT_EQ(t.app.ShownYear, c.shownYear);
  EXPECT_EQ(t.app.ShownMonth, c.shownMonth);
  EXPECT_EQ(t.platform.ErrorTexts(), c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Months, MonthRange,
    ::testing::Values(RangeCase{2001, 0, 2001, 1, {"2000 年已經超出程式設定範圍"}},
                      RangeCase{2050, 13, 2050, 12, {"2051 年已經超出程式設定範圍"}},
                      RangeCase{2005, 0, 2004, 12, {}}, RangeCase{2005, 13, 2006, 1, {}},
                      // one message for each year of distance
                      RangeCase{1999, 5, 2001, 1, {"2000 年已經超出程式設定範圍", "2000 年已經超出程式設定範圍"}}));

// Today is 5 August 2005; August 2005 starts on a Monday, so day d is cell d.
class Grid : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(t.Start()); }
  void Build() { calendar::BuildMonth(t.app); }
  shell::Form1& f() { return t.app.form1; }
  TestApp t;
};

TEST_F(Grid, CellsShowTheNoteStartAndThePlanCount) {
  t.WriteLines("datas/2005/8/15.dat", {"元宵節快樂", "08:00 a", "x09:00 b"});
  t.WriteLines("datas/2005/8/16.dat", {"中秋"});
  t.WriteLines("datas/2005/8/17.dat", {"", "--:-- a"});
  t.WriteBytes("datas/2005/8/18.dat", "");
  Build();
  EXPECT_EQ(f().Label5[15].Caption, "15‧元宵節\r\n  2 項計畫");  // a marked line counts on other days
  EXPECT_EQ(f().Label5[16].Caption, "16‧中秋");
  EXPECT_EQ(f().Label5[17].Caption, "17‧\r\n  1 項計畫");
  EXPECT_EQ(f().Label5[18].Caption, "18‧");
  EXPECT_EQ(f().Label5[5].BackColor, shell::kTodayCellColor);
  EXPECT_EQ(f().Label5[6].BackColor, shell::kCellColor);
  EXPECT_EQ(f().Label6[2].Caption, "5");
  EXPECT_EQ(f().Label1.Caption, "今天的計畫行程");
}

struct TodayCase {
  const char* name;
  QStringList file;  // empty: no file
  QStringList list1;
  QString caption;
  bool emptyFile = false;  // a file of no bytes at all
};

class TodayList : public Grid, public ::testing::WithParamInterface<TodayCase> {};

TEST_P(TodayList, ListsTodaysUnjudgedPlans) {
  if (GetParam().emptyFile) t.WriteBytes("datas/2005/8/5.dat", "");
  if (!GetParam().file.isEmpty()) t.WriteLines("datas/2005/8/5.dat", GetParam().file);
  Build();
  EXPECT_EQ(f().List1.List, GetParam().list1);
  EXPECT_EQ(f().Label5[5].Caption, GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    Days, TodayList,
    ::testing::Values(TodayCase{"NoFile", {}, {"~   您這天尚未安排任何計畫"}, "5‧"},
                      TodayCase{"EmptyFile", {}, {}, "5‧", true},
                      TodayCase{"NoteOnly", {"note"}, {}, "5‧not"},
                      TodayCase{"AllJudged", {"", "x08:00 a"}, {}, "5‧"},
                      TodayCase{"OneJudged", {"", "x08:00 a", "09:30 b"}, {"1  b"}, "5‧\r\n  1 項計畫"},
                      TodayCase{"ShortAndEmptyPlans", {"", "--:-- ", "ab"}, {"1  ", "2  "}, "5‧\r\n  2 項計畫"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Grid, ReadsAnyLineEndAndGarbageWithoutHarm) {
  QByteArray bytes = "\xff\xfe\x81";  // an undecodable note
  bytes += "\r08:00 a\n";
  bytes += "09:00 " + QByteArray(200000, '\xa4');  // a very long last line without an end
  t.WriteBytes("datas/2005/8/5.dat", bytes);
  Build();
  ASSERT_EQ(f().List1.ListCount(), 2);
  EXPECT_EQ(f().List1.List[0], "1  a");
  EXPECT_TRUE(f().Label5[5].Caption.endsWith("\r\n  2 項計畫"));
}

TEST_F(Grid, AnUnreadableDayIsReportedOnceAndTheGridStillBuilt) {
  // Files that exist but fail on reading, even for root: reading a process's
  // memory from offset 0 is an input/output error.
  QDir().mkpath(t.Path("datas/2005/8"));
  ASSERT_TRUE(QFile::link("/proc/self/mem", t.Path("datas/2005/8/20.dat")));
  ASSERT_TRUE(QFile::link("/proc/self/mem", t.Path("datas/2005/8/21.dat")));
  t.WriteLines("datas/2005/8/23.dat", {"x", "--:-- a"});
  t.platform.messages.clear();
  Build();
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Quendar 錯誤訊息報告");
  EXPECT_TRUE(t.platform.messages[0].text.contains("20.dat"));
  EXPECT_EQ(f().Label5[20].Caption, "20‧");
  EXPECT_EQ(f().Label5[23].Caption, "23‧x\r\n  1 項計畫");
  EXPECT_EQ(f().Label2.Caption, "2005 年 8 月 ");
}

TEST_F(Grid, CreatesAMissingDataFolder) {
  QDir(t.Path("datas")).removeRecursively();
  Build();
  EXPECT_TRUE(t.Exists("datas"));
}

TEST_F(Grid, HeadingNamesTheSelectedDayUntilTheUserNavigates) {
  f().Label5[28].Click();
  Build();
  EXPECT_EQ(f().Label1.Caption, "2005 年 8 月 28 日");
  f().Label4[1].Click();
  f().Label4[0].Click();
  EXPECT_EQ(f().Label1.Caption, "今天的計畫行程");
  f().Label1.Caption = "kept";
  Build();
  EXPECT_EQ(f().Label1.Caption, "今天的計畫行程");
  EXPECT_EQ(f().Label4[1].Tag, "1");
}

}  // namespace
