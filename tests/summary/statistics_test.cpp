#include "summary_fixture.h"
#include "summary/statistics.h"
#include "shell/startup.h"

#include <QByteArray>

namespace {

const QString kDesignGradeLine = "         總      評";

struct GradeCase {
  std::int16_t notDone, done;
  const char* notDonePercent;
  const char* donePercent;
  QString grade;  // the design line where the grade is left alone
  QString comment;
  float notDoneBar, doneBar;
};

class Grades : public SummaryTest, public testing::WithParamInterface<GradeCase> {};

TEST_P(Grades, ShareGradeAndBarsFollowTheCounts) {
  const GradeCase& c = GetParam();
  WriteCounts(c.notDone, c.done);
  shell::Form3& f = OpenSummary();
  EXPECT_EQ(f.Label3.Tag, QString::number(c.notDone));
  EXPECT_EQ(f.Label4.Tag, QString::number(c.done));
  EXPECT_EQ(f.Label3.Caption, c.notDonePercent);
  EXPECT_EQ(f.Label4.Caption, c.donePercent);
  EXPECT_EQ(f.Label6.Caption, c.grade);
  EXPECT_EQ(f.Label6.ToolTipText, c.comment);
  // Single precision, with the fraction of a twip kept.
  EXPECT_EQ(f.Shape3.BarWidth(), c.notDoneBar);
  EXPECT_EQ(f.Shape4.BarWidth(), c.doneBar);
  EXPECT_EQ(f.Shape1.Width, shell::kTrackWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Summary, Grades,
    testing::Values(
        // 29 / 100 * 100 lands just below 29 in double precision.
        GradeCase{29, 71, "28%", "72%", "目前執行力: D", "普普通通", 1650.6f, 4244.4f},
        GradeCase{1, 2, "33%", "67%", "目前執行力: D", "普普通通", float(33 * 5895 / 100.0), float(67 * 5895 / 100.0)},
        GradeCase{1, 9, "10%", "90%", "目前執行力: A", "說到做到的人", 589.5f, 5305.5f},
        GradeCase{1, 5, "16%", "84%", "目前執行力: B", "很有責任感", 943.2f, 4951.8f},
        GradeCase{17, 83, "17%", "83%", "目前執行力: B", "很有責任感", 1002.15f, 4892.85f},
        GradeCase{25, 75, "25%", "75%", "目前執行力: C", "不錯唷", 1473.75f, 4421.25f},
        GradeCase{2, 3, "40%", "60%", "目前執行力: E", "再多用點心", 2358, 3537},
        GradeCase{1, 1, "50%", "50%", "目前執行力: FX", "有待努力", 2947.5f, 2947.5f},
        GradeCase{51, 49, "51%", "49%", "目前執行力: F", "不及格", 3006.45f, 2888.55f},
        GradeCase{0, 5, "0%", "100%", "目前執行力: A", "說到做到的人", 0, 5895},
        GradeCase{4, 0, "100%", "0%", "目前執行力: F", "不及格", 5895, 0},
        GradeCase{0, 0, "0%", "0%", kDesignGradeLine, "", 0, 0},
        // Counts the program never writes: past 100 the grade is left alone,
        // below 0 it is A, and the figures follow the formulas.
        GradeCase{10, -5, "200%", "-100%", kDesignGradeLine, "", 11790, -5895},
        GradeCase{-5, 10, "-100%", "200%", "目前執行力: A", "說到做到的人", -5895, 11790},
        GradeCase{-3, -4, "0%", "0%", kDesignGradeLine, "", 0, 0},
        // Counts near the limit add up without overflow.
        GradeCase{32767, 32767, "50%", "50%", "目前執行力: FX", "有待努力", 2947.5f, 2947.5f}));

TEST_F(SummaryTest, AFreshDataFolderGetsZeroCountsAndAnEmptySummary) {
  shell::Form3& f = OpenSummary();
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), QByteArray(4, '\0'));
  EXPECT_EQ(f.Label3.Caption, "0%");
  EXPECT_EQ(f.Label6.Caption, kDesignGradeLine);
  EXPECT_EQ(f.List1.ListCount(), 0);
  EXPECT_FALSE(t.Exists("datas/quendar.dat"));
}

TEST_F(SummaryTest, ACountersFileShorterThanFourBytesReadsZerosBeyondItsEnd) {
  t.WriteBytes("datas/quendar.qdr", QByteArray("\x01\x00\x02", 3));
  shell::Form3& f = OpenSummary();
  EXPECT_EQ(f.Label3.Tag, "1");
  EXPECT_EQ(f.Label4.Tag, "2");
  EXPECT_EQ(f.Label3.Caption, "33%");
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr").size(), 3);  // only read
}

TEST_F(SummaryTest, TheHistoryIsListedWholeAndNumberedFromOne) {
  // More lines than a 16-bit counter reaches.
  QStringList lines{"寫報告", "", "a"};
  for (int i = 4; i <= 40000; ++i) lines.append(QStringLiteral("計畫 %1").arg(i));
  WriteHistory(lines);
  shell::Form3& f = OpenSummary();
  ASSERT_EQ(f.List1.ListCount(), 40000);
  EXPECT_EQ(f.List1.List[0], "1 寫報告");
  EXPECT_EQ(f.List1.List[1], "2 ");
  EXPECT_EQ(f.List1.List[2], "3 a");
  EXPECT_EQ(f.List1.List[39999], "40000 計畫 40000");
  EXPECT_EQ(f.List1.ListIndex, -1);
}

TEST_F(SummaryTest, AFailedFileStepIsReportedAndLeavesNoSummaryBehind) {
  WriteHistory({"寫報告"});
  platform::files::FailOperation(1);  // making the missing counters file
  form1.MenuView.Click();
  EXPECT_EQ(t.platform.ErrorTexts().size(), 1);
  EXPECT_FALSE(t.app.Form3Loaded());
  EXPECT_TRUE(form1.Visible);
  // A second start brings the main window forward, not a stale summary.
  shell::ComeForward(t.app);
  EXPECT_FALSE(t.app.Form3Loaded());
  EXPECT_TRUE(form1.Visible);

  shell::Form3& f = OpenSummary();
  EXPECT_TRUE(f.Visible);
  EXPECT_FALSE(form1.Visible);
  EXPECT_EQ(f.List1.List, QStringList({"1 寫報告"}));
}

TEST_F(SummaryTest, TheSummaryTakesTheMainWindowsPlace) {
  form1.Left = 2400;
  form1.Top = 1800;
  t.app.SummaryAnimStep = 2;
  shell::Form3& f = OpenSummary();
  EXPECT_FALSE(form1.Visible);
  EXPECT_TRUE(f.Visible);
  EXPECT_EQ(f.Left, 2400);
  EXPECT_EQ(f.Top, 1800);
  EXPECT_EQ(f.Caption, "Quendar  0.4.8 - Summary");
  EXPECT_TRUE(f.Timer1.Enabled);
  EXPECT_EQ(t.app.SummaryAnimStep, 0);
  // The main window's clock runs on behind it.
  EXPECT_TRUE(form1.Timer1.Enabled);
}

}  // namespace
