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
  for (int mouse : {ui::kLeftButtonUp, ui::kRightButtonUp}) {
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
    EXPECT_EQ(f.State, ui::WindowState::Normal);
    EXPECT_TRUE(t.platform.trayIcons.empty());
    EXPECT_EQ(t.app.ExitFlag, 0);
  }
  EXPECT_EQ(ended, 0);
}

TEST_F(Tray, TheMinimiseButtonOnlyMinimises) {
  f.State = ui::WindowState::Minimized;
  f.Resize();
  EXPECT_TRUE(f.Visible);
  EXPECT_TRUE(t.platform.trayIcons.empty());
  EXPECT_EQ(t.app.ExitFlag, 0);
}

TEST_F(Tray, WithoutANotificationAreaTheWindowStaysMinimisedAndReachable) {
  t.platform.trayAvailable = false;
  EXPECT_TRUE(Close());
  EXPECT_TRUE(f.Visible);
  EXPECT_EQ(f.State, ui::WindowState::Minimized);
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

TEST_F(Tray, ALaterStartBringsTheWindowBackFromTheTray) {
  Close();
  shell::ComeForward(t.app);
  EXPECT_TRUE(f.Visible);
  EXPECT_TRUE(t.platform.trayIcons.empty());
  EXPECT_EQ(t.app.ExitFlag, 0);
  EXPECT_EQ(t.platform.broughtToFront, 1);
}

}  // namespace
