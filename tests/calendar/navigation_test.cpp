// Day selection, the editor and month stepping on a started App: today is
// 5 August 2005, and August 2005 starts on a Monday, so day d is cell d.

#include "shell/app.h"
#include "test_app.h"

#include <gtest/gtest.h>

using testsupport::TestApp;

namespace {

const QString kHeader = QStringLiteral("-鬧 鈴- ‧新 的 行 程 計 畫") + QString(18, QChar(0x3000)) +
                        QStringLiteral("‧當 日 行 程 節 慶");

class Navigation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(t.Start());
    f().MenuSetting.Click();
  }
  shell::Form1& f() { return t.app.form1; }

  void ExpectListMode() {
    EXPECT_TRUE(f().List1.Visible);
    for (platform::Control* c : {static_cast<platform::Control*>(&f().List2), static_cast<platform::Control*>(&f().Text1),
                           static_cast<platform::Control*>(&f().Text3), static_cast<platform::Control*>(&f().Text4[0]),
                           static_cast<platform::Control*>(&f().Text4[1]), static_cast<platform::Control*>(&f().Command1),
                           static_cast<platform::Control*>(&f().Command2), static_cast<platform::Control*>(&f().Command3)}) {
      EXPECT_FALSE(c->Visible) << c->Name.toStdString();
    }
    EXPECT_EQ(f().Text2.Top, 720);
    EXPECT_EQ(f().Text2.Height, 310);
  }
  void ExpectEditorMode() {
    EXPECT_FALSE(f().List1.Visible);
    for (platform::Control* c : {static_cast<platform::Control*>(&f().List2), static_cast<platform::Control*>(&f().Text1),
                           static_cast<platform::Control*>(&f().Text3), static_cast<platform::Control*>(&f().Text4[0]),
                           static_cast<platform::Control*>(&f().Text4[1]), static_cast<platform::Control*>(&f().Command1),
                           static_cast<platform::Control*>(&f().Command2), static_cast<platform::Control*>(&f().Command3)}) {
      EXPECT_TRUE(c->Visible) << c->Name.toStdString();
    }
    EXPECT_EQ(f().Text2.Text(), kHeader);
    EXPECT_EQ(f().Text2.Top, 750);
    EXPECT_EQ(f().Text2.Height, 280);
  }

  TestApp t;
};

struct ClickCase {
  const char* name;
  int cell;
  QByteArray file;  // bytes of that day's file; "-" for none
  QString heading;
  QStringList list1;
};

class DayClick : public Navigation, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(DayClick, ListsTheDaysPlans) {
  const ClickCase& c = GetParam();
  if (c.file != "-") t.WriteBytes(QStringLiteral("datas/2005/8/%1.dat").arg(c.cell), c.file);
  f().Label5[c.cell].Click();
  EXPECT_EQ(f().Label1.Caption, c.heading);
  EXPECT_EQ(f().List1.List, c.list1);
  EXPECT_EQ(f().Command1.Tag, QString::number(c.cell));
  ExpectListMode();
}

INSTANTIATE_TEST_SUITE_P(
    Days, DayClick,
    ::testing::Values(
        ClickCase{"Today", 5, "-", "今天的計畫行程", {"~   您這天尚未安排任何計畫"}},
        ClickCase{"OtherDay", 28, "note\r\n08:00 a\r\n--:-- b\r\n", "2005 年 8 月 28 日", {"1  a", "2  b"}},
        ClickCase{"NoteOnly", 28, "note\r\n", "2005 年 8 月 28 日", {"~   您這天尚未安排任何計畫"}},
        ClickCase{"EmptyFile", 28, "", "2005 年 8 月 28 日", {}},
        ClickCase{"AllJudged", 28, "\r\nx08:00 a\r\n", "2005 年 8 月 28 日", {"~   您這天尚未安排任何計畫"}},
        ClickCase{"SomeJudged", 28, "\r\nx08:00 a\r\n09:00 b\n", "2005 年 8 月 28 日", {"1  b"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Navigation, ACellOutsideTheMonthSelectsNothing) {
  f().Label5[28].Click();
  f().Label5[0].Click();  // 31 July
  EXPECT_EQ(f().Label1.Caption, "");
  EXPECT_TRUE(f().List1.List.isEmpty());
  EXPECT_EQ(f().Command1.Tag, "28");
  f().Label5[0].DblClick();
  ExpectListMode();
  EXPECT_EQ(f().Text2.Text(), "");
}

TEST_F(Navigation, DoubleClickOpensTheDayInTheEditor) {
  t.WriteLines("datas/2005/8/28.dat", {"節慶", "08:00 a", "--:-- b"});
  f().Text1.SetText("kept");
  f().Label5[28].Click();
  f().Label5[28].DblClick();
  ExpectEditorMode();
  EXPECT_EQ(f().Text3.Text(), "節慶");
  EXPECT_EQ(f().List2.List, QStringList({"1  a", "2  b"}));
  EXPECT_EQ(f().List1.ListIndex, 1);
  EXPECT_EQ(f().Text1.Text(), "kept");  // the editor does not clear the plan box

  // A day without a file: an empty editor, no "~" item.
  f().Label5[29].Click();
  ExpectListMode();
  f().Label5[29].DblClick();
  ExpectEditorMode();
  EXPECT_EQ(f().Text3.Text(), "");
  EXPECT_TRUE(f().List2.List.isEmpty());
}

TEST_F(Navigation, StepsThroughMonthsBackToListModeAndAcrossYears) {
  f().Label5[28].Click();
  f().Label5[28].DblClick();
  f().Label4[1].Click();
  ExpectListMode();
  EXPECT_EQ(t.app.ShownMonth, 9);
  EXPECT_EQ(f().Label1.Caption, "");
  EXPECT_TRUE(f().List1.List.isEmpty());  // today is not in September
  EXPECT_EQ(f().Command1.Tag, "28");
  for (int i = 0; i < 4; ++i) f().Label4[1].Click();
  EXPECT_EQ(t.app.ShownYear, 2006);
  EXPECT_EQ(t.app.ShownMonth, 1);
  for (int i = 0; i < 5; ++i) f().Label4[0].Click();
  EXPECT_EQ(t.app.ShownMonth, 8);
  EXPECT_EQ(f().Label1.Caption, "今天的計畫行程");
  EXPECT_EQ(f().List1.List, QStringList{"~   您這天尚未安排任何計畫"});
}

TEST_F(Navigation, TheArrowsStopAtTheEndsOfTheCalendar) {
  t.app.ShownYear = 2001;
  t.app.ShownMonth = 1;
  f().Label4[0].Click();
  EXPECT_EQ(t.app.ShownYear, 2001);
  EXPECT_EQ(t.app.ShownMonth, 1);
  t.app.ShownYear = 2050;
  t.app.ShownMonth = 12;
  f().Label4[1].Click();
  EXPECT_EQ(t.app.ShownYear, 2050);
  EXPECT_EQ(t.app.ShownMonth, 12);
  ASSERT_EQ(t.platform.messages.size(), 2u);
  EXPECT_EQ(t.platform.messages[0].text, "2000 年已經超出程式設定範圍");
  EXPECT_EQ(t.platform.messages[1].text, "2051 年已經超出程式設定範圍");
}

TEST_F(Navigation, LeavingThePageKeepsMonthSelectionAndMode) {
  f().Label4[1].Click();
  f().Label5[10].Click();
  f().Label5[10].DblClick();
  f().MenuMain.Click();
  f().MenuSetting.Click();
  EXPECT_EQ(t.app.ShownMonth, 9);
  EXPECT_EQ(f().Command1.Tag, "7");
  ExpectEditorMode();
}

}  // namespace
