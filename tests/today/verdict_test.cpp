// Verdicts on the notes through the model's events and the scripted platform.

#include "today/verdict.h"

#include "store/history_file.h"
#include "test_app.h"
#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <gtest/gtest.h>

using testsupport::Cp950Lines;
using testsupport::TestApp;

namespace {

const QString kToday = "datas/2005/8/5.dat";  // the fake clock's Friday, 5 August 2005
const QString kCounters = "datas/quendar.qdr";
const QString kHistory = "datas/quendar.dat";
const QStringList kThreePlans{"晴", "06:30 晨跑", "--:-- 讀書", "21:00 寫日記"};

class Verdicts : public testing::Test {
 protected:
  void Start(const QStringList& today = kThreePlans) {
    t.WriteLines(kToday, today);
    ASSERT_TRUE(t.Start());
  }
  // A right click on note i's time bar, the menu item picked, the box answered.
  void Judge(int i, platform::Menu& item, platform::Answer answer = platform::Answer::Yes) {
    t.platform.menuChoice = &item;
    t.platform.answers.push_back(answer);
    f.Label10[i].MouseDown(platform::kRightButton, 0, 0, 0);
  }
  bool Shown(int i) const { return f.Label10[i].Visible && f.Label11[i].Visible; }

  TestApp t;
  shell::Form1& f = t.app.form1;
};

struct YesCase {
  const char* name;
  bool done;
  QByteArray counters;
  QStringList history;
};

class VerdictYes : public Verdicts, public testing::WithParamInterface<YesCase> {};

TEST_P(VerdictYes, MarksTheLineCountsAndHidesTheNote) {
  Start();
  // The editor open on today, so that its list follows the verdict.
  f.MenuSetting.Click();
  f.Label5[5].Click();
  f.Label5[5].DblClick();
  f.MenuMain.Click();

  Judge(1, GetParam().done ? f.PlansPop_Done : f.PlansPop_Del);

  ASSERT_EQ(t.platform.popups.size(), 1u);
  EXPECT_EQ(t.platform.popups[0], &f.PlansPop);
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].text, GetParam().done ? "確定此計畫已經執行完畢？" : "確定此計畫要定義為「未完成」？");
  EXPECT_EQ(t.platform.messages[0].title, "Quendar 再確認");
  EXPECT_EQ(t.platform.messages[0].buttons, platform::Buttons::YesNo);

  EXPECT_EQ(t.ReadBytes(kToday), Cp950Lines({"晴", "06:30 晨跑", "x--:-- 讀書", "21:00 寫日記"}));
  EXPECT_EQ(t.ReadBytes(kCounters).toHex(' '), GetParam().counters.toHex(' '));
  EXPECT_EQ(t.ReadBytes(kHistory), Cp950Lines(GetParam().history));
  EXPECT_FALSE(t.Exists("datas/quendar.~dat"));
  EXPECT_FALSE(t.Exists("datas/2005/8/5.~dat"));

  EXPECT_FALSE(Shown(1));
  EXPECT_EQ(f.Label10[1].Tag, "");
  EXPECT_TRUE(Shown(0) && Shown(2));
  EXPECT_EQ(f.Label10[2].Tag, "3");
  EXPECT_EQ(f.Label12.Tag, "");
  EXPECT_EQ(f.List2.List, QStringList({"1  晨跑", "2  寫日記"}));
  EXPECT_EQ(f.List1.List, QStringList({"1  晨跑", "2  寫日記"}));
  EXPECT_EQ(f.Label5[5].Caption, "5‧晴\r\n  2 項計畫");
  EXPECT_TRUE(f.Frame1.Visible);
}

INSTANTIATE_TEST_SUITE_P(Table, VerdictYes,
                         testing::Values(YesCase{"Done", true, QByteArray("\0\0\1\0", 4), {}},
                                         YesCase{"NotDone", false, QByteArray("\1\0\0\0", 4), {"讀書"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Verdicts, TheEditorOpenOnAnotherDayKeepsItsList) {
  t.WriteLines("datas/2005/8/12.dat", {"", "10:00 看牙醫"});
  Start();
  f.MenuSetting.Click();
  f.Label5[12].Click();  // the 12th: August 2005 starts on a Monday
  f.Label5[12].DblClick();
  ASSERT_EQ(f.List2.List, QStringList({"1  看牙醫"}));
  f.MenuMain.Click();
  Judge(0, f.PlansPop_Done);
  EXPECT_EQ(f.List2.List, QStringList({"1  看牙醫"}));
  EXPECT_EQ(f.List1.List, QStringList({"1  讀書", "2  寫日記"}));
  EXPECT_TRUE(t.ReadBytes(kToday).contains("\r\nx06:30 "));
}

TEST_F(Verdicts, NoChangesNoFile) {
  Start();
  t.WriteBytes(kHistory, Cp950Lines({"舊的"}));
  const QStringList before = t.Tree();
  for (platform::Menu* item : {&f.PlansPop_Done, &f.PlansPop_Del}) {
    Judge(0, *item, platform::Answer::No);
    // From the body this time, too.
    t.platform.menuChoice = item;
    t.platform.answers.push_back(platform::Answer::No);
    f.Label11[2].MouseDown(platform::kRightButton, 0, 0, 0);
  }
  EXPECT_EQ(t.platform.messages.size(), 4u);
  EXPECT_EQ(t.Tree(), before);
  EXPECT_EQ(t.ReadBytes(kToday), Cp950Lines(kThreePlans));
  EXPECT_EQ(t.ReadBytes(kHistory), Cp950Lines({"舊的"}));
  EXPECT_TRUE(Shown(0) && Shown(1) && Shown(2));
  EXPECT_EQ(f.Label12.Tag, "");
}

TEST_F(Verdicts, OpeningTheMenuRemembersTheNoteAndClosingItWithoutAChoiceKeepsIt) {
  Start();
  f.Label10[2].BackColor = platform::RGB(240, 240, 240);
  f.Shape2.Visible = true;
  f.Label11[2].MouseDown(platform::kLeftButton, 0, 0, 0);  // a left click on a body does nothing
  EXPECT_TRUE(t.platform.popups.empty());
  f.Label11[2].MouseDown(platform::kRightButton, 0, 0, 0);
  EXPECT_EQ(t.platform.popups.size(), 1u);
  EXPECT_EQ(f.Label12.Tag, "2");
  EXPECT_EQ(f.Label10[2].BackColor, shell::kTimeBarColor);
  EXPECT_FALSE(f.Shape2.Visible);
  EXPECT_TRUE(t.platform.messages.empty());
  EXPECT_EQ(t.ReadBytes(kToday), Cp950Lines(kThreePlans));
}

TEST_F(Verdicts, ThePlanOnLineSeventeenInNoteFourteenIsTheOneMarked) {
  QStringList lines{"n"};
  for (int L = 1; L <= 17; ++L) lines << QStringLiteral("10:%1 計畫%2").arg(L, 2, 10, QChar('0')).arg(L);
  Start(lines);
  ASSERT_EQ(f.Label10[14].Tag, "17");
  Judge(14, f.PlansPop_Del);
  QStringList expected = lines;
  expected[17] = "x" + expected[17];
  EXPECT_EQ(t.ReadBytes(kToday), Cp950Lines(expected));
  EXPECT_EQ(t.ReadBytes(kHistory), Cp950Lines({"計畫17"}));
  // The refill puts the last plan left among lines 15 to 17 on the note.
  EXPECT_EQ(f.Label10[14].Tag, "16");
}

struct CountCase {
  const char* name;
  bool done;
  QByteArray before, after;
};

class VerdictCounts : public Verdicts, public testing::WithParamInterface<CountCase> {};

TEST_P(VerdictCounts, CountLittleEndianAndNeverWrap) {
  Start();
  t.WriteBytes(kCounters, GetParam().before);
  Judge(0, GetParam().done ? f.PlansPop_Done : f.PlansPop_Del);
  EXPECT_EQ(t.ReadBytes(kCounters).toHex(' '), GetParam().after.toHex(' '));
  EXPECT_TRUE(t.ReadBytes(kToday).contains("\r\nx06:30 "));
}

INSTANTIATE_TEST_SUITE_P(
    Table, VerdictCounts,
    testing::Values(CountCase{"NotDoneAt255", false, QByteArray("\xff\0\7\0", 4), QByteArray("\0\1\7\0", 4)},
                    CountCase{"DoneAt255", true, QByteArray("\7\0\xff\0", 4), QByteArray("\7\0\0\1", 4)},
                    CountCase{"NotDoneAt32767", false, QByteArray("\xff\x7f\0\0", 4), QByteArray("\xff\x7f\0\0", 4)},
                    CountCase{"DoneAt32767", true, QByteArray("\0\0\xff\x7f", 4), QByteArray("\0\0\xff\x7f", 4)},
                    CountCase{"ShortFile", true, QByteArray("\2", 1), QByteArray("\2\0\1\0", 4)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Verdicts, AfterMidnightAVerdictMarksTheDayTheNoteWasFilledFrom) {
  Start();
  // The clock rolled over to the 6th; the page still shows the 5th.
  const QStringList sixth{"", "07:00 別的計畫"};
  t.WriteLines("datas/2005/8/6.dat", sixth);
  t.app.TodayDay = 6;
  Judge(1, f.PlansPop_Done);
  EXPECT_EQ(t.ReadBytes(kToday), Cp950Lines({"晴", "06:30 晨跑", "x--:-- 讀書", "21:00 寫日記"}));
  EXPECT_EQ(t.ReadBytes("datas/2005/8/6.dat"), Cp950Lines(sixth));
  EXPECT_EQ(t.ReadBytes(kCounters), QByteArray("\0\0\1\0", 4));
  // The refill shows the new day.
  EXPECT_EQ(f.Label10[0].Tag, "1");
  EXPECT_EQ(f.Label11[0].Caption, "  別的計畫");
  EXPECT_FALSE(Shown(1));
}

TEST_F(Verdicts, AFileChangedBehindThePageMarksNothingAndRefillsThePage) {
  Start();
  // Plan 1 deleted elsewhere: line 2 now holds 寫日記, not the 讀書 the note shows.
  const QStringList changed{"晴", "--:-- 讀書", "21:00 寫日記"};
  t.WriteLines(kToday, changed);
  Judge(1, f.PlansPop_Done);
  EXPECT_EQ(t.ReadBytes(kToday), Cp950Lines(changed));
  EXPECT_FALSE(t.Exists(kCounters));
  EXPECT_FALSE(t.Exists(kHistory));
  EXPECT_EQ(f.Label11[0].Caption, "  讀書");
  EXPECT_EQ(f.Label11[1].Caption, "  寫日記");
  EXPECT_FALSE(Shown(2));

  // Gone altogether.
  QFile::remove(t.Path(kToday));
  Judge(0, f.PlansPop_Done);
  EXPECT_FALSE(t.Exists(kCounters));
  EXPECT_FALSE(Shown(0));
}

TEST_F(Verdicts, ANoteThatStandsForNoPlanHasNothingToJudge) {
  Start();
  f.Label12.Tag = "5";  // a cleared note
  f.PlansPop_Done.Click();
  f.Label12.Tag = "";
  f.PlansPop_Del.Click();
  EXPECT_TRUE(t.platform.messages.empty());
  EXPECT_EQ(t.ReadBytes(kToday), Cp950Lines(kThreePlans));
  EXPECT_FALSE(t.Exists(kCounters));
}

// The n-th write of a verdict fails: the error is reported, and the verdict
// counts once in the end. Failing before its journal is written, it never
// happened and can be given again; failing after, it is completed by the next
// change, and giving it again judges nothing twice.
class VerdictFailure : public Verdicts, public testing::WithParamInterface<int> {};

TEST_P(VerdictFailure, CountsTheVerdictOnce) {
  Start();
  t.WriteBytes(kCounters, QByteArray("\3\0\4\0", 4));
  t.WriteBytes(kHistory, Cp950Lines({"舊的"}));
  platform::files::FailOperation(GetParam());
  Judge(1, f.PlansPop_Del);
  platform::files::ClearFaults();

  const QStringList errors = t.platform.ErrorTexts();
  ASSERT_EQ(errors.size(), 2) << errors.join('\n').toStdString();  // the question, then the error
  EXPECT_EQ(errors[0], "(not an error box)");
  EXPECT_EQ(f.Label12.Tag, "");
  if (GetParam() == 1) {
    EXPECT_EQ(t.ReadBytes(kToday), Cp950Lines(kThreePlans));
    EXPECT_EQ(t.ReadBytes(kHistory), Cp950Lines({"舊的"}));
    EXPECT_TRUE(Shown(1));
  } else {
    EXPECT_TRUE(t.Exists("datas/quendar.~jnl"));
  }

  // The program goes on: the note, if it still shows, is judged again.
  const bool again = Shown(1);
  if (again) Judge(1, f.PlansPop_Del);
  EXPECT_TRUE(t.app.CompleteJournal());  // as the next change or the exit does first
  EXPECT_EQ(t.ReadBytes(kToday), Cp950Lines({"晴", "06:30 晨跑", "x--:-- 讀書", "21:00 寫日記"}));
  EXPECT_EQ(t.ReadBytes(kHistory), Cp950Lines({"舊的", "讀書"}));
  EXPECT_EQ(t.ReadBytes(kCounters).toHex(' '), QByteArray("\4\0\4\0", 4).toHex(' '));
  EXPECT_FALSE(t.Exists("datas/quendar.~jnl"));
  EXPECT_FALSE(t.Exists("datas/2005/8/5.~dat"));
  EXPECT_EQ(t.platform.ErrorTexts().size(), again ? 3 : 2);  // no error on the way
}

// The writes of a verdict not done: its journal, the history line, the count,
// the day file's new copy and its rename over the old one, the journal's removal.
INSTANTIATE_TEST_SUITE_P(EachWrite, VerdictFailure, testing::Values(1, 2, 3, 4, 5, 6));

TEST_F(Verdicts, AFailureCreatingTheCountersFileCountsNothing) {
  Start();
  platform::files::FailOperation(1);
  Judge(0, f.PlansPop_Done);
  platform::files::ClearFaults();
  EXPECT_EQ(t.platform.ErrorTexts().size(), 2);
  EXPECT_FALSE(t.Exists(kCounters));
  EXPECT_EQ(t.ReadBytes(kToday), Cp950Lines(kThreePlans));
}

}  // namespace
