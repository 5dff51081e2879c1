#include "clock_fixture.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <vector>

#include <gtest/gtest.h>

namespace {

using alarmtest::ClockTest;
using alarmtest::Day;
using alarmtest::DayFile;

TEST_F(ClockTest, TicksEverySecondUntilAWholeMinuteThenSearchesOncePerMinute) {
  t.WriteLines(DayFile(), {"note", "10:15 Too early", "10:16 Now", "10:17 Next"});
  t.WriteBytes("alarm.wav", "RIFF");
  StartAt(QTime(10, 15, 27));
  const shell::Form1& f = t.app.form1;
  EXPECT_EQ(f.Label8.Caption, "10:15");

  for (int s = 28; s <= 59; ++s) {
    TickAt(QTime(10, 15, s, 400));
    ASSERT_EQ(f.Label8.Caption, "10:15") << s;
    ASSERT_EQ(f.Timer1.Interval, 1000) << s;
    ASSERT_FALSE(t.app.Form2Loaded()) << "searched at second " << s;
  }

  TickAt(QTime(10, 16, 0, 0));
  EXPECT_EQ(f.Label8.Caption, "10:16");
  EXPECT_EQ(f.Timer1.Interval, 60000);
  EXPECT_EQ(AlarmText(), "Now");
  EXPECT_EQ(t.platform.sounds.size(), 1);

  // A timer that fires a little early lands in the minute already searched:
  // no second alarm, and the timer waits for the rest of the minute.
  TickAt(QTime(10, 16, 59, 900));
  EXPECT_EQ(t.platform.sounds.size(), 1);
  EXPECT_EQ(f.Timer1.Interval, 100);

  TickAt(QTime(10, 17, 0, 250));
  EXPECT_EQ(f.Label8.Caption, "10:17");
  EXPECT_EQ(AlarmText(), "Next");
  EXPECT_EQ(t.platform.sounds.size(), 2);
  EXPECT_EQ(f.Timer1.Interval, 59750);

  // A late tick is pulled back onto the next whole minute.
  TickAt(QTime(10, 18, 1, 500));
  EXPECT_EQ(f.Timer1.Interval, 58500);
}

TEST_F(ClockTest, SecondTickThatJumpsOverSecondZeroStillSearchesTheNewMinute) {
  t.WriteLines(DayFile(), {"note", "10:16 Now"});
  StartAt(QTime(10, 15, 58, 990));
  TickAt(QTime(10, 15, 59, 995));
  EXPECT_FALSE(t.app.Form2Loaded());
  TickAt(QTime(10, 16, 1, 10));
  EXPECT_EQ(AlarmText(), "Now");
  EXPECT_EQ(t.app.form1.Timer1.Interval, 58990);
}

struct MatchCase {
  const char* name;
  QStringList plans;  // the lines after the note line
  QString expected;   // the alarm text at 09:30, or "<none>"
};

class Matches : public ClockTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(Matches, AtNineThirty) {
  QStringList lines{"09:30 the note line never rings"};
  lines += GetParam().plans;
  t.WriteLines(DayFile(), lines);
  StartAt(QTime(9, 29, 59));
  TickAt(QTime(9, 30, 0));
  EXPECT_EQ(AlarmText(), GetParam().expected);
}

const QString kLongChinese = "打電話給銀行詢問貸款的事情並且記得帶證件";

INSTANTIATE_TEST_SUITE_P(
    Clock, Matches,
    ::testing::Values(
        MatchCase{"TwoPlansCutToFifteenOnSeparateLines",
                  {"09:30 Call the bank about the loan", "09:31 Later", "19:30 Evening", "09:30 Gym"},
                  "Call the bank a\r\nGym"},
        MatchCase{"OnlyTheNoteLine", {}, "<none>"},
        MatchCase{"NoAlarmTime", {"--:-- Buy milk"}, "<none>"},
        MatchCase{"MarkedPlansNeverRing", {"x09:30 Done already", "x09:30 Not done"}, "<none>"},
        MatchCase{"MarkedBesideOpen", {"x09:30 Done already", "09:30 Open"}, "Open"},
        MatchCase{"ShorterThanFiveNeverMatches", {"09:3", "09:"}, "<none>"},
        // Lines of five and six characters ring with an empty text.
        MatchCase{"ShorterThanSevenGivesEmptyText", {"09:30", "09:30X", "09:30 A"}, "\r\n\r\nA"},
        MatchCase{"ChineseCountsCharacters", {"09:30 " + kLongChinese}, kLongChinese.left(15)},
        MatchCase{"ChineseLineShorterThanTheCut", {"09:30 健身"}, "健身"}),
    [](const auto& info) { return std::string(info.param.name); });

// Ticks that come late: each minute of today is searched once, the minutes a
// tick missed together in one alarm with one sound.
struct SkipCase {
  const char* name;
  QDateTime start;
  std::vector<QDateTime> ticks;
  QStringList day5, day6;  // plan lines of 5 and 6 August
  QString expected;        // the alarm raised by the last tick; empty: none
};

void PrintTo(const SkipCase& c, std::ostream* os) { *os << c.name; }

class SkippedMinutes : public ClockTest, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(SkippedMinutes, AreSearchedOnceInMinuteAndFileOrder) {
  const SkipCase& c = GetParam();
  t.WriteLines(DayFile(), QStringList{"note"} + c.day5);
  t.WriteLines("datas/2005/8/6.dat", QStringList{"note"} + c.day6);
  t.WriteBytes("alarm.wav", "RIFF");
  StartAt(c.start);
  for (std::size_t i = 0; i + 1 < c.ticks.size(); ++i) TickAt(c.ticks[i]);
  const QString before = AlarmText();
  const qsizetype sounds = t.platform.sounds.size();

  TickAt(c.ticks.back());
  if (c.expected.isEmpty()) {
    EXPECT_EQ(AlarmText(), before);
    EXPECT_EQ(t.platform.sounds.size(), sounds);
  } else {
    EXPECT_EQ(AlarmText(), c.expected);
    EXPECT_EQ(t.platform.sounds.size(), sounds + 1);
  }
  EXPECT_EQ(t.app.form1.Timer1.Interval, 60000 - c.ticks.back().time().second() * 1000);
}

QDateTime On5(int h, int m, int s = 0) { return QDateTime(Day(), QTime(h, m, s)); }
QDateTime On6(int h, int m, int s = 0) { return QDateTime(Day().addDays(1), QTime(h, m, s)); }

INSTANTIATE_TEST_SUITE_P(
    Clock, SkippedMinutes,
    ::testing::Values(
        // A message box held the tick of 10:17 until 10:18:20.
        SkipCase{"HeldTick", On5(10, 15, 27), {On5(10, 16), On5(10, 18, 20)},
                 {"10:16 Rang before", "10:18 B", "10:17 A", "--:-- none", "x10:17 judged", "10:17 C", "10:19 Later"},
                 {}, "A\r\nC\r\nB"},
        SkipCase{"ThreeHourSuspend", On5(10, 15, 27), {On5(10, 16), On5(13, 16, 5)},
                 {"10:16 Rang before", "13:17 Not yet", "13:16 Now", "12:30 Half past twelve", "11:00 Eleven",
                  "10:15 Before"},
                 {}, "Eleven\r\nHalf past twelv\r\nNow"},
        SkipCase{"ClockSetForwardPastNothing", On5(10, 15, 27), {On5(10, 16), On5(15, 0)},
                 {"10:16 Rang before", "15:01 Later"}, {}, ""},
        // The first search after start leaves out the minute it started in.
        SkipCase{"FirstTickHeld", On5(10, 15, 27), {On5(10, 17, 30)},
                 {"10:15 Start minute", "10:17 B", "10:16 A"}, {}, "A\r\nB"},
        SkipCase{"ClockSetBackSearchesItsNewMinute", On5(10, 15, 27), {On5(10, 30), On5(10, 20)},
                 {"10:30 Rang before", "10:25 Not yet", "10:20 Again", "10:19 Before"}, {}, "Again"},
        SkipCase{"AndGoesOnFromThere", On5(10, 15, 27), {On5(10, 30), On5(10, 20), On5(10, 22)},
                 {"10:30 Rang before", "10:20 Again", "10:21 A", "10:22 B", "10:23 Not yet"}, {}, "A\r\nB"},
        // Minutes of the day before are not searched, those of today from 00:00 on.
        SkipCase{"MidnightInBetween", On5(23, 57, 27), {On5(23, 58), On6(0, 3, 10)},
                 {"23:59 Old day", "00:01 Old day"}, {"00:04 Not yet", "00:03 Three", "00:00 Midnight", "23:58 Later"},
                 "Midnight\r\nThree"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClockTest, FirstMatchPlacesTheWindowAndPlaysTheSoundOncePerTickWhenThereIsOne) {
  t.WriteLines(DayFile(), {"note", "09:30 Call", "09:30 Gym", "09:31 Lunch"});
  StartAt(QTime(9, 29, 59));

  TickAt(QTime(9, 30, 0));
  ASSERT_TRUE(t.app.Form2Loaded());
  const shell::Form2& w = t.app.GetForm2();
  EXPECT_EQ(w.Caption, "Quendar  0.4.8 - Alarm");
  EXPECT_EQ(w.Left, 1024 * 15 - 3015 - 50);
  EXPECT_EQ(w.Top, 768 * 15);
  EXPECT_TRUE(w.Visible);
  EXPECT_EQ(t.app.AlarmTicks, 0);
  EXPECT_TRUE(t.platform.sounds.isEmpty()) << "no alarm.wav: silent";

  t.WriteBytes("alarm.wav", "RIFF");
  TickAt(QTime(9, 31, 0));
  EXPECT_EQ(AlarmText(), "Lunch");
  EXPECT_EQ(t.platform.sounds, QStringList{t.Path("alarm.wav")});
  EXPECT_TRUE(t.platform.messages.empty());
}

TEST_F(ClockTest, WorksWhileTheMainWindowIsHidden) {
  t.WriteLines(DayFile(), {"note", "09:30 Call"});
  StartAt(QTime(9, 29, 59));
  t.app.form1.Visible = false;
  TickAt(QTime(9, 30, 0));
  EXPECT_EQ(AlarmText(), "Call");
}

TEST_F(ClockTest, NoDayFileMeansNoAlarmAndNoMessage) {
  StartAt(QTime(9, 29, 59));
  TickAt(QTime(9, 30, 0));
  EXPECT_FALSE(t.app.Form2Loaded());
  EXPECT_TRUE(t.platform.messages.empty());
  EXPECT_FALSE(t.Exists(DayFile())) << "the search only reads";
}

TEST_F(ClockTest, UnreadableDayFileIsReportedOnceAndTheClockGoesOn) {
  QDir().mkpath(t.Path("datas/2005/8"));
  // A file that is there but fails on reading, whoever runs the tests.
  ASSERT_TRUE(QFile::link("/proc/self/mem", t.Path(DayFile())));
  StartAt(QTime(9, 29, 59));
  const std::size_t before = t.platform.messages.size();  // the start-up reads the file too
  TickAt(QTime(9, 30, 0));
  TickAt(QTime(9, 31, 0));
  ASSERT_EQ(t.platform.messages.size(), before + 1);
  EXPECT_EQ(t.platform.messages.back().title, "Quendar 錯誤訊息報告");
  EXPECT_EQ(t.app.form1.Label8.Caption, "09:31");
  EXPECT_EQ(t.app.form1.Timer1.Interval, 60000);

  QFile::remove(t.Path(DayFile()));
  t.WriteLines(DayFile(), {"note", "09:32 Readable again"});
  TickAt(QTime(9, 32, 0));
  EXPECT_EQ(AlarmText(), "Readable again");
  EXPECT_EQ(t.platform.messages.size(), before + 1);
}

struct RollOverCase {
  const char* name;
  QDateTime before;  // the last tick on the old day
  QDateTime after;   // the first tick on the new day
  QString dateLine;
};

class RollOver : public ClockTest, public ::testing::WithParamInterface<RollOverCase> {};

TEST_P(RollOver, FollowsTheRealDay) {
  const RollOverCase& c = GetParam();
  const QDate oldDay = c.before.date(), newDay = c.after.date();
  const QString minute = c.after.time().toString("hh:mm");
  auto file = [](const QDate& d) { return QString("datas/%1/%2/%3.dat").arg(d.year()).arg(d.month()).arg(d.day()); };
  t.WriteLines(file(oldDay), {"note", minute + " Old day"});
  t.WriteLines(file(newDay), {"note", minute + " New day"});
  StartAt(c.before);
  TickAt(c.before);

  TickAt(c.after);
  EXPECT_EQ(QDate(t.app.TodayYear, t.app.TodayMonth, t.app.TodayDay), newDay);
  EXPECT_EQ(t.app.form1.Label7.Caption, c.dateLine);
  EXPECT_EQ(t.app.form1.Label8.Caption, minute);
  EXPECT_EQ(AlarmText(), "New day");
  // The calendar stays on the month the user was looking at.
  EXPECT_EQ(t.app.ShownYear, oldDay.year());
  EXPECT_EQ(t.app.ShownMonth, oldDay.month());
}

INSTANTIATE_TEST_SUITE_P(
    Clock, RollOver,
    ::testing::Values(
        RollOverCase{"AtMidnight", QDateTime(Day(), QTime(23, 59, 0)),
                     QDateTime(Day().addDays(1), QTime(0, 0, 0, 20)), "2005 年 8 月 6 日 (六)"},
        RollOverCase{"AtMidnightBeforeTheMinuteTicks", QDateTime(Day(), QTime(23, 59, 58)),
                     QDateTime(Day().addDays(1), QTime(0, 0, 0)), "2005 年 8 月 6 日 (六)"},
        RollOverCase{"IntoANewYear", QDateTime(QDate(2005, 12, 31), QTime(23, 59, 0)),
                     QDateTime(QDate(2006, 1, 1), QTime(0, 0, 0)), "2006 年 1 月 1 日 (日)"},
        // Suspended over midnight: no tick ever fell on 00:00.
        RollOverCase{"AfterASkippedMidnight", QDateTime(Day(), QTime(22, 10, 0)),
                     QDateTime(Day().addDays(2), QTime(7, 12, 31)), "2005 年 8 月 7 日 (日)"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
