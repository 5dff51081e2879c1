// A plan or note line of 10 MB: every list, note and caption shows only its
// start, and the file keeps the whole line through Edit and Del. (Today is
// 5 August 2005; August 2005 starts on a Monday, so day d sits in cell d.)

#include "alarm/clock_tick.h"
#include "shell/app.h"
#include "store/day_file.h"
#include "test_app.h"
#include "platform/files/codepage.h"

#include <gtest/gtest.h>

using testsupport::TestApp;

namespace {

constexpr qsizetype kHuge = 5'000'000;  // characters of two bytes each

const QByteArray kHugeNote = QByteArray("\xa4\xa4").repeated(kHuge);          // 中中中...
const QByteArray kHugePlan = "09:30 " + QByteArray("\xa4\xe5").repeated(kHuge);  // 文文文...
const QByteArray kFile = kHugeNote + "\r\n" + kHugePlan + "\r\n--:-- short\r\n";

class LongLine : public ::testing::Test {
 protected:
  void SetUp() override {
    t.WriteBytes("datas/2005/8/5.dat", kFile);
    t.WriteBytes("datas/2005/month.qdr", " 8\r\n");
    ASSERT_TRUE(t.Start());
  }
  shell::Form1& f() { return t.app.form1; }
  void OpenToday() {
    f().Label5[5].Click();
    f().Label5[5].DblClick();
  }

  TestApp t;
};

TEST_F(LongLine, IsShownOnlyByItsStart) {
  const QString start = QString(store::kShownLength, QChar(0x6587));  // 文
  EXPECT_EQ(f().List1.List, QStringList({"1  " + start, "2  short"}));
  EXPECT_EQ(f().Label9.Caption, "( " + QString(16, QChar(0x4E2D)) + " )");
  EXPECT_EQ(f().Label5[5].Caption, "5‧中中中\r\n  2 項計畫");
  EXPECT_EQ(f().Label10[0].Caption, "09:30");
  EXPECT_LT(f().Label11[0].Caption.size(), 2 * store::kShownLength);

  OpenToday();
  EXPECT_EQ(f().List2.List, QStringList({"1  " + start, "2  short"}));
  // Only the alarm window's own cut shows.
  t.platform.now = QDateTime(QDate(2005, 8, 5), QTime(9, 30));
  alarms::SearchAlarms(t.app, 9 * 60 + 30, 9 * 60 + 30);
  EXPECT_EQ(t.app.GetForm2().Label2.Caption, QString(15, QChar(0x6587)));
}

TEST_F(LongLine, IsKeptWholeByEditAndDel) {
  OpenToday();
  f().Command3.Click();  // the note unchanged
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), kFile);
  f().List2.ListIndex = 1;
  f().Command1.Click();
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), kHugeNote + "\r\n" + kHugePlan + "\r\n");
  // The item shows only the start of its plan, and still deletes it.
  f().List2.ListIndex = 0;
  f().Command1.Click();
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), kHugeNote + "\r\n");
  EXPECT_TRUE(f().List2.List.isEmpty());
  EXPECT_TRUE(t.platform.messages.empty());
}

}  // namespace
