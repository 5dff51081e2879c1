// A day whose file went missing while an update's copy was still beside it:
// the copy stands in for the day everywhere until the first change puts it
// in place (a started App, today 5 August 2005; day d sits in cell d).

#include "shell/app.h"
#include "test_app.h"
#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <gtest/gtest.h>

#include <functional>

using testsupport::Cp950Lines;
using testsupport::TestApp;

namespace {

TEST(LeftoverCopy, EveryReaderShowsTheDayFromTheCopyThatStandsIn) {
  TestApp t;
  t.WriteLines("datas/2005/month.qdr", {" 8"});
  t.WriteLines("datas/2005/8/5.~dat", {"颱風", "09:30 開會", "--:-- 買菜"});
  t.WriteLines("datas/2005/8/28.dat.~new", {"", "--:-- 遠足"});
  t.platform.now = QDateTime(QDate(2005, 8, 5), QTime(9, 29, 30));
  ASSERT_TRUE(t.Start());
  shell::Form1& f = t.app.form1;

  EXPECT_EQ(f.Label9.Caption, "( 颱風 )");
  EXPECT_EQ(f.Label10[0].Caption, "09:30");
  EXPECT_TRUE(f.Label11[1].Visible);
  EXPECT_TRUE(f.Label5[5].Caption.contains("2 項計畫")) << f.Label5[5].Caption.toStdString();
  EXPECT_TRUE(f.Label5[28].Caption.contains("1 項計畫")) << f.Label5[28].Caption.toStdString();
  f.Label5[28].Click();
  EXPECT_EQ(f.List1.List, QStringList{"1  遠足"});

  t.platform.now = QDateTime(QDate(2005, 8, 5), QTime(9, 30));
  f.Timer1.Tick();
  ASSERT_TRUE(t.app.Form2Loaded());
  EXPECT_TRUE(t.app.GetForm2().Label2.Caption.contains("開會"));
  // Reading changes nothing on the disk.
  EXPECT_FALSE(t.Exists("datas/2005/8/5.dat"));
  EXPECT_FALSE(t.Exists("datas/2005/8/28.dat"));
}

// A creation cut off before its first byte leaves an empty copy. It stands
// for nothing: an Add of the day, whichever of its steps fails, never leaves
// a day file without its note line.
TEST(LeftoverCopy, AnEmptyCopyStandsForNothing) {
  TestApp t;
  t.WriteLines("datas/2005/month.qdr", {" 8"});
  t.WriteBytes("datas/2005/8/28.dat.~new", {});
  ASSERT_TRUE(t.Start());
  shell::Form1& f = t.app.form1;
  f.Label5[28].Click();
  f.Label5[28].DblClick();
  const auto add = [&] {
    f.Text4[0].SetText("09");
    f.Text4[1].SetText("30");
    f.Text1.SetText("新的");
    f.Command2.Click();
  };
  platform::files::FailOperation(2);
  add();
  platform::files::ClearFaults();
  EXPECT_FALSE(t.Exists("datas/2005/8/28.dat") && t.ReadBytes("datas/2005/8/28.dat").isEmpty());
  add();
  EXPECT_EQ(t.ReadBytes("datas/2005/8/28.dat"), Cp950Lines({"", "09:30 新的"}));
}

struct FirstChangeCase {
  const char* name;
  const char* copy;  // the file that stands in for 28.dat
  std::function<void(shell::Form1&)> change;
  QStringList dayFile;
};

class FirstChange : public ::testing::TestWithParam<FirstChangeCase> {};

TEST_P(FirstChange, PutsTheCopyInPlaceBeforeItWrites) {
  TestApp t;
  t.WriteLines("datas/2005/month.qdr", {" 8"});
  t.WriteLines(QString("datas/2005/8/") + GetParam().copy, {"舊註記", "--:-- 甲", "--:-- 乙"});
  ASSERT_TRUE(t.Start());
  shell::Form1& f = t.app.form1;
  f.Label5[28].Click();
  f.Label5[28].DblClick();
  GetParam().change(f);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/28.dat"), Cp950Lines(GetParam().dayFile));
  EXPECT_EQ(t.Tree().filter("datas/2005/8/"), QStringList{"datas/2005/8/28.dat"});
  EXPECT_TRUE(t.platform.messages.empty());
}

void Add(shell::Form1& f) {
  f.Text4[0].SetText("09");
  f.Text4[1].SetText("30");
  f.Text1.SetText("新的");
  f.Command2.Click();
}

INSTANTIATE_TEST_SUITE_P(
    Table, FirstChange,
    ::testing::Values(
        FirstChangeCase{"Add", "28.~dat", Add, {"舊註記", "--:-- 甲", "--:-- 乙", "09:30 新的"}},
        FirstChangeCase{"AddOverACreationsCopy", "28.dat.~new", Add, {"舊註記", "--:-- 甲", "--:-- 乙", "09:30 新的"}},
        FirstChangeCase{"Edit", "28.~dat",
                        [](shell::Form1& f) {
                          f.Text3.SetText("新註記");
                          f.Command3.Click();
                        },
                        {"新註記", "--:-- 甲", "--:-- 乙"}},
        FirstChangeCase{"Del", "28.~dat",
                        [](shell::Form1& f) {
                          f.List2.ListIndex = 0;
                          f.Command1.Click();
                        },
                        {"舊註記", "--:-- 乙"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
