#include "shell/startup.h"
#include "shell/tray.h"

#include "test_app.h"

#include <gtest/gtest.h>

using testsupport::TestApp;

namespace {

class Tray : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(t.Start());
    t.app.EndProgram = [this] { ++ended; };
  }
  bool Close() {
    bool cancel = false;
    f.QueryUnload(cancel);
    return cancel;
  }

  TestApp t;
  shell::Form1& f = t.app.form1;
  int ended = 0;
};

TEST_F(Tray, TheCloseBoxHidesTheWindowBehindOneIconAndAClickBringsItBack) {
  for (int mouse : {platform::kLeftButtonUp, platform::kRightButtonUp}) {
    SCOPED_TRACE(mouse);
    EXPECT_TRUE(Close());
    EXPECT_FALSE(f.Visible);
    EXPECT_EQ(t.app.ExitFlag, 1);
    EXPECT_EQ(f.Tag, "");
    ASSERT_EQ(t.platform.trayIcons.size(), 1u);
    EXPECT_EQ(t.platform.trayIcons.at(9999), "Quendar  0.4.8");

    shell::TrayWndProc(t.app, 499, 512);  // a mere move over the icon
    EXPECT_FALSE(f.Visible);
    shell::TrayWndProc(t.app, 499, mouse);
    EXPECT_TRUE(f.Visible);
    EXPECT_EQ(f.State, platform::WindowState::Normal);
    EXPECT_TRUE(t.platform.trayIcons.empty());
    EXPECT_EQ(t.app.ExitFlag, 0);
  }
  EXPECT_EQ(ended, 0);
}

TEST_F(Tray, TheMinimiseButtonOnlyMinimises) {
  f.State = platform::WindowState::Minimized;
  f.Resize();
  EXPECT_TRUE(f.Visible);
  EXPECT_TRUE(t.platform.trayIcons.empty());
  EXPECT_EQ(t.app.ExitFlag, 0);
}

TEST_F(Tray, WithoutANotificationAreaTheWindowStaysMinimisedAndReachable) {
  t.platform.trayAvailable = false;
  EXPECT_TRUE(Close());
  EXPECT_TRUE(f.Visible);
  EXPECT_EQ(f.State, platform::WindowState::Minimized);
  EXPECT_EQ(t.app.ExitFlag, 0);
  EXPECT_TRUE(Close());  // and the next close does the same, never ending the program
  EXPECT_EQ(ended, 0);
}

TEST_F(Tray, ExitEndsTheProgramFromTheWindowOrFromTheTray) {
  f.MenuExit.Click();
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(t.app.ExitFlag, 1);

  TestApp u;
  ASSERT_TRUE(u.Start());
  int uEnded = 0;
  u.app.EndProgram = [&] { ++uEnded; };
  bool cancel = false;
  u.app.form1.QueryUnload(cancel);
  ASSERT_EQ(u.platform.trayIcons.size(), 1u);
  // In the tray an unload goes through (log-off) and takes the icon with it.
  cancel = false;
  u.app.form1.QueryUnload(cancel);
  EXPECT_FALSE(cancel);
  shell::Form_Unload(u.app);
  EXPECT_TRUE(u.platform.trayIcons.empty());
  EXPECT_EQ(uEnded, 1);
}

// Every way out of every state of the main window: where it ends up, and
// whether the books were closed (once) and the program ended.
enum class From { Shown, InTray, BehindSummary };
enum class Command { CloseBox, IconClick, TrayMain, TrayExit, MenuExit, DoMenuExit, EndSession, EndSessionTwice };

struct StateCase {
  const char* name;
  From from;
  Command command;
  bool ends;
  bool visibleAfter;
};

class TrayState : public Tray, public ::testing::WithParamInterface<StateCase> {
 protected:
  void Enter(From from) {
    if (from == From::InTray) Close();
    if (from == From::BehindSummary) f.Visible = false;
  }
  void Run(Command command) {
    switch (command) {
      case Command::CloseBox: Close(); break;
      case Command::IconClick: shell::TrayWndProc(t.app, 499, platform::kLeftButtonUp); break;
      case Command::TrayMain: f.TrayMain.Click(); break;
      case Command::TrayExit: f.TrayExit.Click(); break;
      case Command::MenuExit: f.MenuExit.Click(); break;
      case Command::DoMenuExit: shell::DoMenuExit(t.app); break;
      case Command::EndSession: shell::EndSession(t.app); break;
      case Command::EndSessionTwice:
        shell::EndSession(t.app);
        shell::EndSession(t.app);
        f.MenuExit.Click();
        break;
    }
  }
};

TEST_P(TrayState, GoesWhereItShould) {
  int shutdowns = 0;
  t.app.ShutdownProcessing = [&] { ++shutdowns; };
  Enter(GetParam().from);
  Run(GetParam().command);
  EXPECT_EQ(ended, int(GetParam().ends));
  EXPECT_EQ(shutdowns, int(GetParam().ends));
  if (GetParam().ends) {
    EXPECT_TRUE(t.platform.trayIcons.empty());
    EXPECT_EQ(t.app.ExitFlag, 1);
  } else {
    EXPECT_EQ(f.Visible, GetParam().visibleAfter);
    EXPECT_EQ(t.platform.trayIcons.size(), GetParam().visibleAfter ? 0u : 1u);
    EXPECT_EQ(t.app.ExitFlag, GetParam().visibleAfter ? 0 : 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrayState,
    ::testing::Values(StateCase{"ShownCloseBox", From::Shown, Command::CloseBox, false, false},
                      StateCase{"ShownMenuExit", From::Shown, Command::MenuExit, true, false},
                      StateCase{"ShownDoMenuExit", From::Shown, Command::DoMenuExit, true, false},
                      StateCase{"ShownEndSession", From::Shown, Command::EndSession, true, false},
                      StateCase{"InTrayIconClick", From::InTray, Command::IconClick, false, true},
                      StateCase{"InTrayTrayMain", From::InTray, Command::TrayMain, false, true},
                      StateCase{"InTrayTrayExit", From::InTray, Command::TrayExit, true, false},
                      StateCase{"InTrayEndSession", From::InTray, Command::EndSession, true, false},
                      StateCase{"BehindSummaryEndSession", From::BehindSummary, Command::EndSession, true, false},
                      StateCase{"EndsOnlyOnce", From::Shown, Command::EndSessionTwice, true, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(Tray, ALaterStartBringsTheWindowBackFromTheTray) {
  Close();
  shell::ComeForward(t.app);
  EXPECT_TRUE(f.Visible);
  EXPECT_TRUE(t.platform.trayIcons.empty());
  EXPECT_EQ(t.app.ExitFlag, 0);
  EXPECT_EQ(t.platform.broughtToFront, 1);
}

}  // namespace
