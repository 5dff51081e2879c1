#include "shell/app.h"
#include "test_app.h"

#include <gtest/gtest.h>

using testsupport::TestApp;

namespace {

constexpr platform::Color kWhite = platform::RGB(255, 255, 255);
constexpr platform::Color kBlack = platform::RGB(0, 0, 0);

// A mouse path: cells moved over (negative: -1 a weekday head, -2 the bare
// form), then the cells expected white and in today's colour.
struct HoverCase {
  const char* name;
  int month;  // of 2005; today is 5 August, in cell 5
  std::vector<int> path;
  std::vector<int> white;
  bool todayColoured;
};

class Hover : public ::testing::TestWithParam<HoverCase> {};

TEST_P(Hover, OnlyTheCellUnderTheMouseIsWhite) {
  const HoverCase& c = GetParam();
  TestApp t;
  ASSERT_TRUE(t.Start());
  shell::Form1& f = t.app.form1;
  if (c.month != 8) {
    t.app.ShownMonth = std::int16_t(c.month);
    t.app.BuildMonth();
  }
  for (int step : c.path) {
    if (step >= 0) f.Label5[step].MouseMove(0, 0, 10, 10);
    if (step == -1) f.Label3[2].MouseMove(0, 0, 10, 10);
    if (step == -2) f.MouseMove(0, 0, 10, 10);
  }
  int todays = 0;
  for (int i = 0; i < 42; ++i) {
    const bool white = std::find(c.white.begin(), c.white.end(), i) != c.white.end();
    if (white) {
      EXPECT_EQ(f.Label5[i].BackColor, kWhite) << i;
    } else if (f.Label5[i].BackColor == shell::kTodayCellColor) {
      ++todays;
    } else {
      EXPECT_EQ(f.Label5[i].BackColor, shell::kCellColor) << i;
    }
  }
  EXPECT_EQ(todays, c.todayColoured ? 1 : 0);
  if (c.todayColoured) EXPECT_EQ(f.Label5[5].BackColor, shell::kTodayCellColor);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Hover,
    ::testing::Values(HoverCase{"AcrossThreeCells", 8, {8, 9, 10}, {10}, true},
                      HoverCase{"WithinOneCell", 8, {9, 9, 9}, {9}, true},
                      HoverCase{"OverTodayAndOn", 8, {4, 5, 6}, {6}, true},
                      // Leaving today's cell for an empty cell takes its colour
                      // until the next day cell is crossed.
                      HoverCase{"FromTodayToAnEmptyCell", 8, {5, 0}, {}, false},
                      HoverCase{"FromTodayToAHead", 8, {5, -1}, {}, false},
                      HoverCase{"TodayComesBack", 8, {5, 0, 12}, {12}, true},
                      HoverCase{"ToTheBareForm", 8, {20, -2}, {}, true},
                      HoverCase{"ToAWeekdayHead", 8, {20, -1}, {}, true},
                      HoverCase{"AfterTheLastDay", 8, {31, 33}, {}, true},
                      HoverCase{"MonthWithoutToday", 9, {4, 5, 6}, {6}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HoverArrows, TurnWhiteUnderTheMouseAndBlackOnTheHeading) {
  TestApp t;
  ASSERT_TRUE(t.Start());
  shell::Form1& f = t.app.form1;
  f.Label4[1].MouseMove(0, 0, 1, 1);
  EXPECT_EQ(f.Label4[1].ForeColor, kWhite);
  EXPECT_EQ(f.Label4[0].ForeColor, kBlack);
  f.Label4[0].MouseMove(0, 0, 1, 1);
  EXPECT_EQ(f.Label4[0].ForeColor, kWhite);
  f.Label2.MouseMove(0, 0, 1, 1);
  EXPECT_EQ(f.Label4[0].ForeColor, kBlack);
  EXPECT_EQ(f.Label4[1].ForeColor, kBlack);
}

TEST(HoverRebuild, AStaleRememberedCellIsRepaintedOnTheNextMove) {
  TestApp t;
  ASSERT_TRUE(t.Start());
  shell::Form1& f = t.app.form1;
  f.Label5[20].MouseMove(0, 0, 1, 1);
  t.app.BuildMonth();
  EXPECT_EQ(f.Label5[20].BackColor, shell::kCellColor);
  EXPECT_EQ(f.Label6[2].Tag, "20");
  f.Label5[21].MouseMove(0, 0, 1, 1);
  EXPECT_EQ(f.Label5[21].BackColor, kWhite);
  EXPECT_EQ(f.Label5[20].BackColor, shell::kCellColor);
}

}  // namespace
