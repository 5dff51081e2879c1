// Day files that other tools (or a full disk) left in an odd state, through
// the editor of a started App (today 5 August 2005; day d sits in cell d).

#include "shell/app.h"
#include "test_app.h"
#include "platform/files/codepage.h"

#include <gtest/gtest.h>

using testsupport::Cp950Lines;
using testsupport::TestApp;

namespace {

TEST(OddDayFile, APlanAddedToAnEmptyFileIsAPlanNotTheNote) {
  TestApp t;
  t.WriteBytes("datas/2005/8/28.dat", {});
  ASSERT_TRUE(t.Start());
  shell::Form1& f = t.app.form1;
  f.Label5[28].Click();
  f.Label5[28].DblClick();
  f.Text4[0].SetText("09");
  f.Text4[1].SetText("30");
  f.Text1.SetText("買菜");
  f.Command2.Click();
  EXPECT_EQ(t.ReadBytes("datas/2005/8/28.dat"), Cp950Lines({"", "09:30 買菜"}));
  EXPECT_EQ(f.List2.List, QStringList{"1  買菜"});
  EXPECT_EQ(f.Label5[28].Caption, "28‧\r\n  1 項計畫");
  EXPECT_TRUE(t.platform.messages.empty());
}

}  // namespace
