#include "shell/startup.h"

#include "shell/file_error.h"
#include "shell/paths.h"
#include "shell/settings_file.h"
#include "test_app.h"
#include "platform/files/file_ops.h"

#include <gtest/gtest.h>

using testsupport::TestApp;

namespace {

TEST(Startup, WithoutSettingsShowsOnlyI01AndCreatesNothing) {
  TestApp t(false);
  EXPECT_FALSE(t.Start());
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].text, "I01: 找不到 Quendar 的設定檔");
  EXPECT_EQ(t.platform.messages[0].title, "Quendar 錯誤訊息報告");
  EXPECT_EQ(t.platform.messages[0].buttons, platform::Buttons::OK);
  EXPECT_TRUE(t.Tree().isEmpty());
  EXPECT_FALSE(t.app.form1.Visible);
}

TEST(Startup, BrokenHeaderShowsI03AndCreatesNothing) {
  TestApp t;
  QByteArray bytes = shell::InitialSettingsBytes();
  bytes[47] = 1;
  t.WriteBytes("Quendar.ini", bytes);
  EXPECT_FALSE(t.Start());
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].text, "I03: 您的設定檔資訊不完整！");
  EXPECT_EQ(t.platform.messages[0].title, "Quendar 錯誤訊息報告");
  EXPECT_EQ(t.Tree(), QStringList{"Quendar.ini"});
}

// A note shows a plan or nothing: a plan judged earlier today, or a 14th plan
// line that fills the page, leaves no empty design note standing at start.
struct NoteCase {
  const char* name;
  QStringList lines;
  int emptyNote;
};

void PrintTo(const NoteCase& c, std::ostream* os) { *os << c.name; }

class StartNotes : public ::testing::TestWithParam<NoteCase> {};

TEST_P(StartNotes, ShowOnlyNotesThatHoldAPlan) {
  TestApp t;
  t.WriteLines("datas/2005/8/5.dat", GetParam().lines);
  ASSERT_TRUE(t.Start());
  const shell::Form1& f = t.app.form1;
  EXPECT_FALSE(f.Label10[GetParam().emptyNote].Visible);
  EXPECT_FALSE(f.Label11[GetParam().emptyNote].Visible);
  for (int i = 0; i < shell::kNoteCount; ++i) {
    if (f.Label10[i].Visible) EXPECT_FALSE(f.Label10[i].Tag.isEmpty()) << i;
  }
}

QStringList FifteenLines() {
  QStringList lines{""};
  for (int i = 1; i <= 14; ++i) lines.append(QStringLiteral("--:-- plan %1").arg(i));
  return lines;
}

INSTANTIATE_TEST_SUITE_P(Today, StartNotes,
                         ::testing::Values(NoteCase{"judged", {"", "x09:00 done", "10:00 open"}, 0},
                                           NoteCase{"fourteenPlans", FifteenLines(), 14}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Startup, SecondCopyShowsTheRunningCopyNoticeAndEnds) {
  TestApp t;
  t.platform.anotherCopy = true;
  EXPECT_FALSE(t.Start());
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].text, shell::kRunningCopyMessage);
  EXPECT_EQ(t.platform.messages[0].title, "Quendar");
  EXPECT_EQ(t.Tree(), QStringList{"Quendar.ini"});
}

TEST(Startup, GoodStartShowsTheTodayPageWithClockAndDate) {
  TestApp t;
  t.platform.now = QDateTime(QDate(2005, 8, 5), QTime(9, 5, 7));
  ASSERT_TRUE(t.Start());
  const shell::Form1& f = t.app.form1;
  EXPECT_TRUE(t.platform.messages.empty());
  EXPECT_EQ(f.Caption, "Quendar  0.4.8");
  EXPECT_EQ(t.app.VersionCaption, "Quendar  0.4.8");
  EXPECT_TRUE(f.Visible);
  EXPECT_TRUE(f.FixedSize);
  EXPECT_EQ(t.app.ExitFlag, 0);
  EXPECT_EQ(t.app.TodayYear, 2005);
  EXPECT_EQ(t.app.TodayMonth, 8);
  EXPECT_EQ(t.app.TodayDay, 5);
  EXPECT_EQ(t.app.ShownYear, 2005);
  EXPECT_EQ(t.app.ShownMonth, 8);
  EXPECT_EQ(t.app.NowHour, "09");
  EXPECT_EQ(t.app.NowMinute, "05");
  EXPECT_EQ(t.app.NowSecond, "07");
  EXPECT_EQ(f.Label8.Caption, "09:05");
  EXPECT_EQ(f.Text2.Top, 720);
  EXPECT_EQ(f.Text2.Height, 310);
  EXPECT_TRUE(f.Frame1.Visible);
  EXPECT_FALSE(f.MenuMain.Enabled);
  EXPECT_TRUE(f.MenuSetting.Enabled);
}

TEST(Startup, TheMainWindowOpensInTheMiddleOfTheWorkArea) {
  TestApp t;
  t.platform.workArea = QRect(0, 450, 15360, 11070);  // a panel 30 pixels high at the top
  ASSERT_TRUE(t.Start());
  const shell::Form1& f = t.app.form1;
  EXPECT_EQ(f.Left, (15360 - f.Width) / 2);
  EXPECT_EQ(f.Top, 450 + (11070 - shell::kSixRowHeight) / 2);
}

TEST(Pages, SwitchingPagesKeepsTheCalendarAsItWas) {
  TestApp t;
  ASSERT_TRUE(t.Start());
  shell::Form1& f = t.app.form1;
  f.MenuSetting.Click();
  EXPECT_FALSE(f.Frame1.Visible);
  EXPECT_FALSE(f.MenuSetting.Enabled);
  EXPECT_TRUE(f.MenuMain.Enabled);

  f.Command1.Tag = "12";
  f.List2.Visible = true;
  const auto month = t.app.ShownMonth;
  f.MenuMain.Click();
  EXPECT_TRUE(f.Frame1.Visible);
  EXPECT_FALSE(f.MenuMain.Enabled);
  f.MenuSetting.Click();
  EXPECT_EQ(f.Command1.Tag, "12");
  EXPECT_TRUE(f.List2.Visible);
  EXPECT_EQ(t.app.ShownMonth, month);
}

TEST(Paths, FolderAndDayFileNamesCarryNoPadding) {
  testsupport::FakePlatform platform;
  shell::App app(platform, "/opt/q");
  EXPECT_EQ(app.AppFolder(), "/opt/q/");
  shell::App root(platform, "/");
  EXPECT_EQ(root.AppFolder(), "/");
  EXPECT_EQ(shell::DayFilePath(app, 2005, 8, 5), "/opt/q/datas/2005/8/5.dat");
  EXPECT_EQ(shell::DayTempPath(app, 2005, 8, "5"), "/opt/q/datas/2005/8/5.~dat");
  EXPECT_EQ(shell::YearFolderPath(app, 2005), "/opt/q/datas/2005");
  EXPECT_EQ(shell::SettingsPath(app), "/opt/q/Quendar.ini");
}

TEST(FileErrors, AreReportedWithPathAndReasonAndStopOnlyTheHandler) {
  TestApp t;
  bool after = false;
  shell::Guarded(t.app, [&] {
    throw platform::files::FileError{"/x/datas/2005/8/5.dat", "Permission denied"};
    after = true;
  });
  EXPECT_FALSE(after);
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Quendar 錯誤訊息報告");
  EXPECT_TRUE(t.platform.messages[0].text.contains("/x/datas/2005/8/5.dat"));
  EXPECT_TRUE(t.platform.messages[0].text.contains("Permission denied"));
}

}  // namespace
