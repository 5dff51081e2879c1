#include "today/today_page.h"

#include "test_app.h"

#include <gtest/gtest.h>

using testsupport::TestApp;

namespace {

const QString kToday = "datas/2005/8/5.dat";  // the fake clock's Friday, 5 August 2005

QStringList Plans(int count) {
  QStringList lines{"note"};
  for (int i = 1; i <= count; ++i) lines << QStringLiteral("10:%1 plan %2").arg(i, 2, 10, QChar('0')).arg(i);
  return lines;
}

struct WrapCase {
  int length;
  QString caption;
};

class NoteWrap : public testing::TestWithParam<WrapCase> {};

TEST_P(NoteWrap, CutsIntoLinesOfSevenWithTheLastTakingUpToEight) {
  const QString text = QString("一二三四五六七八九十壹貳參肆伍陸").left(GetParam().length);
  EXPECT_EQ(today::WrapNoteText(text), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, NoteWrap,
    testing::Values(WrapCase{0, "  "}, WrapCase{8, "  一二三四五六七八"},
                    WrapCase{9, "  一二三四五六七\r\n   八九"},
                    WrapCase{15, "  一二三四五六七\r\n   八九十壹貳參肆伍"},
                    WrapCase{16, "  一二三四五六七\r\n   八九十壹貳參肆\r\n   伍陸"}));

class TodayPage : public testing::Test {
 protected:
  void Fill(const QStringList& lines) {
    t.WriteLines(kToday, lines);
    t.app.form1.MenuMain.Click();
  }
  bool Shown(int i) const { return f.Label10[i].Visible && f.Label11[i].Visible; }

  TestApp t;
  shell::Form1& f = t.app.form1;
  void SetUp() override { ASSERT_TRUE(t.Start()); }
};

TEST_F(TodayPage, NoDayFileClearsEveryNoteAndLeavesTheNoteLineAlone) {
  f.Label9.Caption = "( old )";
  f.Label9.Visible = true;
  f.MenuSetting.Click();
  f.MenuMain.Click();
  for (int i = 0; i < 15; ++i) {
    EXPECT_FALSE(Shown(i)) << i;
    EXPECT_EQ(f.Label10[i].Caption, "");
    EXPECT_EQ(f.Label10[i].Tag, "");
  }
  EXPECT_EQ(f.Label9.Caption, "( old )");
  EXPECT_TRUE(f.Label9.Visible);
  EXPECT_TRUE(f.Frame1.Visible);
  EXPECT_EQ(f.Label7.Caption, "2005 年 8 月 5 日 (五)");
}

TEST_F(TodayPage, ShowsPlansAsNotesWithTimeTextAndLineNumber) {
  Fill({"一二三四五六七八九十一二三四五六七八九十", "08:30 晨跑", "--:--", "x09:00 done already", "12:00 午餐"});
  EXPECT_EQ(f.Label9.Caption, "( 一二三四五六七八九十一二三四五六 )");
  EXPECT_TRUE(f.Label9.Visible);
  EXPECT_EQ(f.Label10[0].Caption, "08:30");
  EXPECT_EQ(f.Label11[0].Caption, "  晨跑");
  EXPECT_EQ(f.Label10[0].Tag, "1");
  EXPECT_EQ(f.Label10[1].Caption, "--:--");  // a line shorter than 7: empty text
  EXPECT_EQ(f.Label11[1].Caption, "  ");
  EXPECT_EQ(f.Label10[3].Caption, "12:00");
  EXPECT_EQ(f.Label10[3].Tag, "4");
  // The marked third plan leaves its note as it was (cleared by the fill's tail rule only).
  EXPECT_FALSE(Shown(2));
  EXPECT_TRUE(Shown(0) && Shown(1) && Shown(3));
  for (int i = 4; i < 15; ++i) EXPECT_FALSE(Shown(i)) << i;
}

TEST_F(TodayPage, AnEmptyNoteLineHidesTheNoteLabel) {
  Fill({"", "08:30 a"});
  EXPECT_FALSE(f.Label9.Visible);
}

struct CountCase {
  int plans;
  int lastFilled;   // the last note that shows a plan
  bool lastKept;    // note 14 keeps what it showed before
};

class TodayPageCounts : public TodayPage, public testing::WithParamInterface<CountCase> {};

TEST_P(TodayPageCounts, FillsFromTheTopAndClearsTheRest) {
  // Something on every note first, so that "left as it was" can be seen.
  Fill(Plans(15));
  Fill(Plans(GetParam().plans));
  for (int i = 0; i <= GetParam().lastFilled; ++i) EXPECT_TRUE(Shown(i)) << i;
  for (int i = GetParam().lastFilled + 1; i < 14; ++i) EXPECT_FALSE(Shown(i)) << i;
  EXPECT_EQ(Shown(14), GetParam().lastKept || GetParam().lastFilled == 14);
}

INSTANTIATE_TEST_SUITE_P(Table, TodayPageCounts,
                         testing::Values(CountCase{13, 12, false}, CountCase{14, 13, true},
                                         CountCase{15, 14, false}, CountCase{0, -1, false}));

TEST_F(TodayPage, PlansPastTheFourteenthLandOnTheLastNote) {
  QStringList lines = Plans(18);
  Fill(lines);
  EXPECT_EQ(f.Label10[13].Tag, "14");
  EXPECT_EQ(f.Label10[14].Tag, "18");
  EXPECT_EQ(f.Label11[14].Caption, "  plan 18");

  lines[18] = "x" + lines[18];
  Fill(lines);
  EXPECT_EQ(f.Label10[14].Tag, "17");
}

TEST_F(TodayPage, RepeatedFillsChangeNothing) {
  Fill({"n", "08:30 一二三四五六七八九十", "09:00 b"});
  const QString caption = f.Label11[0].Caption;
  f.MenuMain.Click();
  f.MenuMain.Click();
  EXPECT_EQ(f.Label11[0].Caption, caption);
  EXPECT_EQ(f.Label10[1].Tag, "2");
  EXPECT_FALSE(Shown(2));
}

}  // namespace
