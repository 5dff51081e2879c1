#include "summary_fixture.h"
#include "summary/summary_window.h"
#include "shell/startup.h"
#include "shell/tray.h"
#include "test_app.h"

#include <QFile>

#include <vector>

namespace {

using testsupport::Cp950Lines;

// --- the swing of the bars

struct Widths {
  float notDone, done;
};

struct SwingCase {
  const char* name;
  Widths start;
  std::vector<Widths> afterEachTick;  // while the timer still runs
};

class Swing : public SummaryTest, public testing::WithParamInterface<SwingCase> {};

TEST_P(Swing, BarsSwingByTwentyFiveUntilOneIsTwentyTwipsOrShorter) {
  const SwingCase& c = GetParam();
  shell::Form3& f = OpenSummary();
  f.Shape3.SetBarWidth(c.start.notDone);
  f.Shape4.SetBarWidth(c.start.done);
  for (const Widths& w : c.afterEachTick) {
    f.Timer1.Tick();
    ASSERT_TRUE(f.Timer1.Enabled);
    EXPECT_FLOAT_EQ(f.Shape3.BarWidth(), w.notDone);
    EXPECT_FLOAT_EQ(f.Shape4.BarWidth(), w.done);
  }
  const Widths last = c.afterEachTick.empty() ? c.start : c.afterEachTick.back();
  if (c.afterEachTick.size() < 4) {
    // The next tick stops the swing where the bars stand.
    f.Timer1.Tick();
    EXPECT_FALSE(f.Timer1.Enabled);
    EXPECT_FLOAT_EQ(f.Shape3.BarWidth(), last.notDone);
    EXPECT_FLOAT_EQ(f.Shape4.BarWidth(), last.done);
  } else {
    EXPECT_EQ(t.app.SummaryAnimStep, 0);  // four ticks make one round
  }
}

INSTANTIATE_TEST_SUITE_P(
    Summary, Swing,
    testing::Values(
        SwingCase{"Round", {1945.35f, 3949.65f},
                  {{1970.35f, 3924.65f}, {1945.35f, 3949.65f}, {1920.35f, 3974.65f}, {1945.35f, 3949.65f}}},
        // Left off its computed widths, 5 twips wide.
        SwingCase{"ThirtyTwips", {30, 5865}, {{55, 5840}, {30, 5865}, {5, 5890}}},
        SwingCase{"TwentyTwipsStopsAtOnce", {20, 5875}, {}},
        SwingCase{"JustOverTwenty", {20.5f, 5874.5f}, {{45.5f, 5849.5f}, {20.5f, 5874.5f}, {-4.5f, 5899.5f}}},
        SwingCase{"NothingDone", {5895, 0}, {}},
        SwingCase{"NothingLeftUndone", {0, 5895}, {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(SummaryTest, AStepOutsideTheRoundMovesNothing) {
  shell::Form3& f = OpenSummary();
  f.Shape3.SetBarWidth(1000);
  f.Shape4.SetBarWidth(4895);
  t.app.SummaryAnimStep = 7;
  f.Timer1.Tick();
  EXPECT_FLOAT_EQ(f.Shape3.BarWidth(), 1000);
  EXPECT_FLOAT_EQ(f.Shape4.BarWidth(), 4895);
  EXPECT_TRUE(f.Timer1.Enabled);
}

// --- deleting a record

class Delete : public SummaryTest {
 protected:
  void SetUp() override {
    SummaryTest::SetUp();
    WriteCounts(1, 2);
    WriteHistory(history);
    f = &OpenSummary();
  }
  QByteArray HistoryBytes() const { return t.ReadBytes("datas/quendar.dat"); }

  const QStringList history{"寫報告", "買牛奶", "回覆信件"};
  shell::Form3* f = nullptr;
};

TEST_F(Delete, TheSelectedRecordGoesAndTheCountsStay) {
  const QByteArray counts = t.ReadBytes("datas/quendar.qdr");
  f->List1.ListIndex = 1;
  f->Command1.Click();
  EXPECT_EQ(HistoryBytes(), Cp950Lines({"寫報告", "回覆信件"}));
  EXPECT_EQ(f->List1.List, QStringList({"1 寫報告", "2 回覆信件"}));
  EXPECT_EQ(f->List1.ListIndex, -1);
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), counts);
  EXPECT_EQ(f->Label3.Caption, "33%");
  EXPECT_FALSE(t.Exists("datas/quendar.~dat"));
}

TEST_F(Delete, WithoutASelectionNothingHappens) {
  f->Command1.Click();
  EXPECT_EQ(HistoryBytes(), Cp950Lines(history));
  EXPECT_EQ(f->List1.ListCount(), 3);
}

TEST_F(Delete, AHistoryChangedBehindTheListLosesNothingAndIsListedAgain) {
  // Another record went before the user pressed the button: line 1 now
  // holds what the list shows as item 3.
  WriteHistory({"寫報告", "回覆信件"});
  f->List1.ListIndex = 1;
  f->Command1.Click();
  EXPECT_EQ(HistoryBytes(), Cp950Lines({"寫報告", "回覆信件"}));
  EXPECT_EQ(f->List1.List, QStringList({"1 寫報告", "2 回覆信件"}));
  EXPECT_EQ(f->List1.ListIndex, -1);
}

TEST_F(Delete, ARecordWithBrokenBytesCanStillBeDeleted) {
  // A lone lead byte before the line end, as a damaged file may hold.
  t.WriteBytes("datas/quendar.dat", QByteArray("ok\r\n\xA4\r\nlast\r\n"));
  f->Menu_Back1.Click();
  f = &OpenSummary();
  ASSERT_EQ(f->List1.ListCount(), 3);
  f->List1.ListIndex = 1;
  f->Command1.Click();
  EXPECT_EQ(HistoryBytes(), "ok\r\nlast\r\n");
}

TEST_F(Delete, AVanishedHistoryFileIsNotCreated) {
  QFile::remove(t.Path("datas/quendar.dat"));
  f->List1.ListIndex = 0;
  f->Command1.Click();
  EXPECT_FALSE(t.Exists("datas/quendar.dat"));
  EXPECT_TRUE(t.platform.messages.empty());
}

TEST_F(Delete, AFailedDeleteIsReportedAndLeavesTheHistoryAsItWas) {
  f->List1.ListIndex = 0;
  platform::files::FailOperation(1);
  f->Command1.Click();
  ASSERT_EQ(t.platform.ErrorTexts().size(), 1);
  EXPECT_TRUE(t.platform.ErrorTexts()[0].contains("quendar"));
  EXPECT_EQ(HistoryBytes(), Cp950Lines(history));
  EXPECT_FALSE(t.Exists("datas/quendar.~dat"));
  EXPECT_EQ(f->List1.ListCount(), 3);
}

// --- leaving the summary

TEST_F(SummaryTest, MainScreenAndScheduleGoBackToThatPageAtTheSummarysPlace) {
  struct Move {
    platform::Menu& (*item)(shell::Form3&);
    bool todayPage;
  };
  const Move moves[] = {{[](shell::Form3& f) -> platform::Menu& { return f.Menu_Back1; }, true},
                        {[](shell::Form3& f) -> platform::Menu& { return f.Menu_Back2; }, false}};
  for (const Move& move : moves) {
    SCOPED_TRACE(move.todayPage ? "主畫面" : "行程排定");
    form1.MenuSetting.Click();  // start from the other page
    if (!move.todayPage) form1.MenuMain.Click();
    shell::Form3& f = OpenSummary();
    f.Left = 3000;
    f.Top = 1500;
    move.item(f).Click();
    EXPECT_FALSE(t.app.Form3Loaded());
    EXPECT_TRUE(form1.Visible);
    EXPECT_EQ(form1.Left, 3000);
    EXPECT_EQ(form1.Top, 1500);
    EXPECT_EQ(form1.Frame1.Visible, move.todayPage);
    EXPECT_EQ(form1.MenuMain.Enabled, !move.todayPage);
    EXPECT_EQ(form1.MenuSetting.Enabled, move.todayPage);
    EXPECT_EQ(t.app.ExitFlag, 0);
  }
  // Opened again, the summary is built afresh and swings again.
  shell::Form3& again = OpenSummary();
  EXPECT_TRUE(again.Timer1.Enabled);
  EXPECT_EQ(ended, 0);
}

TEST_F(SummaryTest, ExitFromTheSummaryEndsTheProgramThroughTheMainWindowsExit) {
  shell::Form3& f = OpenSummary();
  f.Left = 3000;
  f.Menu_Back4.Click();
  EXPECT_FALSE(t.app.Form3Loaded());
  EXPECT_EQ(form1.Left, 3000);
  EXPECT_EQ(t.app.ExitFlag, 1);
  EXPECT_EQ(ended, 1);
  EXPECT_TRUE(t.platform.trayIcons.empty());
}

TEST_F(SummaryTest, TheSummaryItselfInTheMenuDoesNothing) {
  shell::Form3& f = OpenSummary();
  f.Menu_Back3.Click();
  EXPECT_TRUE(f.Visible);
  EXPECT_FALSE(form1.Visible);
}

// --- its own notification-area icon

TEST_F(SummaryTest, TheCloseBoxSendsTheSummaryToItsOwnIconAndAClickBringsItBack) {
  shell::Form3& f = OpenSummary();
  for (int mouse : {platform::kLeftButtonUp, platform::kRightButtonUp}) {
    SCOPED_TRACE(mouse);
    bool cancel = false;
    f.QueryUnload(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_FALSE(f.Visible);
    EXPECT_FALSE(form1.Visible);
    EXPECT_EQ(t.app.ExitFlag, 1);
    EXPECT_EQ(f.Tag, "");
    ASSERT_EQ(t.platform.trayIcons.size(), 1u);
    EXPECT_EQ(t.platform.trayIcons.at(9998), "Quendar  0.4.8");

    shell::TrayWndProc(t.app, 498, 512);  // a mere move over the icon
    EXPECT_FALSE(f.Visible);
    shell::TrayWndProc(t.app, 498, mouse);
    EXPECT_TRUE(f.Visible);
    EXPECT_EQ(f.State, platform::WindowState::Normal);
    EXPECT_FALSE(form1.Visible);
    EXPECT_TRUE(t.platform.trayIcons.empty());
    EXPECT_EQ(t.app.ExitFlag, 0);
  }
  // A back move works as before after the round trip.
  f.Menu_Back1.Click();
  EXPECT_TRUE(form1.Visible);
}

TEST_F(SummaryTest, TheMinimiseButtonOnlyMinimisesTheSummary) {
  shell::Form3& f = OpenSummary();
  f.State = platform::WindowState::Minimized;
  f.Resize();
  EXPECT_TRUE(f.Visible);
  EXPECT_TRUE(t.platform.trayIcons.empty());
  EXPECT_EQ(t.app.ExitFlag, 0);
}

TEST_F(SummaryTest, WithoutANotificationAreaTheSummaryStaysMinimisedAndReachable) {
  t.platform.trayAvailable = false;
  shell::Form3& f = OpenSummary();
  bool cancel = false;
  f.QueryUnload(cancel);
  EXPECT_TRUE(cancel);
  EXPECT_TRUE(f.Visible);
  EXPECT_EQ(f.State, platform::WindowState::Minimized);
  EXPECT_EQ(t.app.ExitFlag, 0);
}

TEST_F(SummaryTest, AClickOnAStaleSummaryIconLoadsNothing) {
  shell::TrayWndProc(t.app, 498, platform::kLeftButtonUp);
  EXPECT_FALSE(t.app.Form3Loaded());
}

// --- the end of the session and a second start while the summary stands in

class WhileTheSummaryIs : public SummaryTest, public testing::WithParamInterface<bool /*in its tray*/> {
 protected:
  shell::Form3& Open() {
    shell::Form3& f = OpenSummary();
    if (GetParam()) {
      bool cancel = false;
      f.QueryUnload(cancel);
    }
    return f;
  }
};

TEST_P(WhileTheSummaryIs, TheSessionsEndUnloadsItAndRunsTheCompleteShutdown) {
  t.WriteLines("datas/2005/8/4.dat", {"", "--:-- 昨天的計畫"});
  Open();
  shell::EndSession(t.app);
  EXPECT_FALSE(t.app.Form3Loaded());
  EXPECT_TRUE(t.platform.trayIcons.empty());
  EXPECT_EQ(ended, 1);
  // Yesterday's plan went into the history as not done.
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"昨天的計畫"}));
  EXPECT_FALSE(t.Exists("datas/2005/8/4.dat"));
  shell::EndSession(t.app);
  EXPECT_EQ(ended, 1);
}

TEST_P(WhileTheSummaryIs, ASecondStartBringsTheSummaryBackNotTheMainWindow) {
  shell::Form3& f = Open();
  shell::ComeForward(t.app);
  EXPECT_TRUE(f.Visible);
  EXPECT_EQ(f.State, platform::WindowState::Normal);
  EXPECT_FALSE(form1.Visible);
  EXPECT_TRUE(t.platform.trayIcons.empty());
  EXPECT_EQ(t.app.ExitFlag, 0);
  EXPECT_EQ(t.platform.broughtToFront, 1);
  // Its close box still sends it to its icon rather than ending anything.
  bool cancel = false;
  f.QueryUnload(cancel);
  EXPECT_TRUE(cancel);
  EXPECT_EQ(ended, 0);
}

INSTANTIATE_TEST_SUITE_P(Summary, WhileTheSummaryIs, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "InItsTray" : "Shown"; });

}  // namespace
