#include "clock_fixture.h"

#include <QRect>

#include <gtest/gtest.h>

#include <string>

namespace {

using alarmtest::ClockTest;
using alarmtest::DayFile;

constexpr int kWindowHeight = 1995;

// The alarm window's run, tick by tick of its own timer, written as runs of
// phases: "rise 25, hold 201, fall 26, end 1".
struct Display {
  std::string phases;
  int ticks = 0;
  int heldTop = 0;
};

class AlarmWindowTest : public ClockTest {
 protected:
  // Raises an alarm at 09:30 with the plan "First"; "Second" follows at 09:31.
  void RaiseFirst() {
    t.WriteLines(DayFile(), {"note", "09:30 First", "09:31 Second"});
    StartAt(QTime(9, 29, 59));
    TickAt(QTime(9, 30, 0));
    ASSERT_TRUE(t.app.Form2Loaded());
  }

  void TickWindow(int n) {
    for (int i = 0; i < n && t.app.Form2Loaded(); ++i) t.app.GetForm2().Timer1.Tick();
  }

  // Ticks the window until it unloads itself.
  Display RunToEnd() {
    Display run;
    std::string phase;
    int count = 0;
    auto note = [&](const std::string& p) {
      if (p == phase) {
        ++count;
        return;
      }
      if (!phase.empty()) run.phases += (run.phases.empty() ? "" : ", ") + phase + " " + std::to_string(count);
      phase = p;
      count = 1;
    };
    while (t.app.Form2Loaded() && run.ticks < 1000) {
      shell::Form2& w = t.app.GetForm2();
      const int top = w.Top, ticks = t.app.AlarmTicks;
      w.Timer1.Tick();
      ++run.ticks;
      if (!t.app.Form2Loaded()) {
        note("end");
      } else if (w.Top < top) {
        note("rise");
      } else if (w.Top > top) {
        note("fall");
      } else if (t.app.AlarmTicks == ticks + 1) {
        note("hold");
        run.heldTop = w.Top;
      } else {
        note("stuck");
      }
    }
    note("");
    return run;
  }
};

struct ScreenCase {
  const char* name;
  QRect screen;
  QRect workArea;  // null: the whole screen
  int left;
  int heldTop;
  std::string phases;
};

class Screens : public AlarmWindowTest, public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(Screens, RiseHoldFallAndClose) {
  const ScreenCase& c = GetParam();
  t.platform.screen = c.screen;
  t.platform.workArea = c.workArea;
  RaiseFirst();
  const shell::Form2& w = t.app.GetForm2();
  EXPECT_EQ(w.Left, c.left);
  EXPECT_EQ(w.Top, c.screen.bottom() + 1) << "starts just below the screen";

  const Display run = RunToEnd();
  EXPECT_EQ(run.phases, c.phases);
  EXPECT_EQ(run.heldTop, c.heldTop);
  // Held, the whole window stands inside the work area.
  const QRect work = t.platform.WorkAreaTwips();
  EXPECT_GE(run.heldTop, work.top());
  EXPECT_LE(run.heldTop + kWindowHeight, work.bottom() + 1);
  EXPECT_FALSE(t.app.Form2Loaded());
}

INSTANTIATE_TEST_SUITE_P(
    AlarmWindow, Screens,
    ::testing::Values(
        // 253 ticks in all, the rise ending at the first Top below 9100.
        ScreenCase{"Screen768", QRect(0, 0, 1024 * 15, 768 * 15), QRect(), 15360 - 3015 - 50, 9020,
                   "rise 25, hold 201, fall 26, end 1"},
        ScreenCase{"Screen600", QRect(0, 0, 800 * 15, 600 * 15), QRect(), 12000 - 3015 - 50, 6500,
                   "rise 25, hold 201, fall 26, end 1"},
        ScreenCase{"BottomPanel768", QRect(0, 0, 1024 * 15, 768 * 15), QRect(0, 0, 1024 * 15, 728 * 15),
                   15360 - 3015 - 50, 8420, "rise 31, hold 201, fall 32, end 1"},
        ScreenCase{"RightPanel600", QRect(0, 0, 800 * 15, 600 * 15), QRect(0, 0, 736 * 15, 600 * 15),
                   11040 - 3015 - 50, 6500, "rise 25, hold 201, fall 26, end 1"}),
    [](const auto& info) { return std::string(info.param.name); });

// A new alarm while the window is up, in each of its phases.
class NewAlarmDuring : public AlarmWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(NewAlarmDuring, StartsTheRunOverWithTheNewText) {
  RaiseFirst();
  TickWindow(GetParam());
  ASSERT_TRUE(t.app.Form2Loaded());
  const shell::Form2* before = &t.app.GetForm2();

  TickAt(QTime(9, 31, 0));
  const shell::Form2& w = t.app.GetForm2();
  EXPECT_EQ(&w, before) << "the same window goes on";
  EXPECT_EQ(w.Top, 768 * 15);
  EXPECT_EQ(t.app.AlarmTicks, 0);
  EXPECT_EQ(w.Label2.Caption, "Second");
  EXPECT_EQ(RunToEnd().phases, "rise 25, hold 201, fall 26, end 1");
}

INSTANTIATE_TEST_SUITE_P(AlarmWindow, NewAlarmDuring, ::testing::Values(10, 100, 240));

TEST_F(AlarmWindowTest, CloseBoxHighlightsAndClosesAtOnce) {
  RaiseFirst();
  TickWindow(10);
  shell::Form2& w = t.app.GetForm2();

  w.Label3.MouseMove(0, 0, 100, 100);
  EXPECT_EQ(w.Label3.BackColor, platform::RGB(248, 248, 143));
  EXPECT_TRUE(w.Label3.FontBold);
  w.MouseMove(0, 0, 1000, 1000);
  EXPECT_EQ(w.Label3.BackColor, platform::RGB(205, 255, 145));
  EXPECT_FALSE(w.Label3.FontBold);

  w.Label3.MouseMove(0, 0, 100, 100);
  w.Label3.Click();
  EXPECT_FALSE(t.app.Form2Loaded());
  EXPECT_FALSE(w.Visible);

  // The next alarm brings a fresh window: the new text alone, no highlight.
  TickAt(QTime(9, 31, 0));
  ASSERT_TRUE(t.app.Form2Loaded());
  const shell::Form2& again = t.app.GetForm2();
  EXPECT_EQ(again.Label2.Caption, "Second");
  EXPECT_EQ(again.Label3.BackColor, platform::RGB(205, 255, 145));
  EXPECT_FALSE(again.Label3.FontBold);
  EXPECT_TRUE(again.Visible);
  EXPECT_EQ(again.Top, 768 * 15);
  EXPECT_EQ(RunToEnd().phases, "rise 25, hold 201, fall 26, end 1");
}

}  // namespace
