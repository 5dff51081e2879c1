// What an import takes, what it leaves, and what it refuses.

#include "ics_fixture.h"

#include "ics/calendar_file.h"

#include "platform/files/file_ops.h"
#include "platform/files/folder_lock.h"

namespace {

using icstest::IcsTest;
using icstest::Outcome;
using icstest::Snapshot;

QString AllDay(const QString& date, const QString& summary) {
  return QStringLiteral("BEGIN:VEVENT\nUID:%1-%2\nDTSTAMP:20261201T000000Z\nDTSTART;VALUE=DATE:%1\n"
                        "SUMMARY:%2\nEND:VEVENT\n")
      .arg(date, summary);
}

TEST_F(IcsTest, ASecondImportAddsNothing) {
  t.WriteLines("datas/2026/12/11.dat", {"note", "x09:00 judged", "--:-- kept"});
  t.WriteLines("datas/2026/month.qdr", {" 12"});
  const QString file = Events(
      QStringLiteral("BEGIN:VEVENT\nUID:a\nDTSTAMP:20261201T000000Z\nDTSTART:20261211T090000\nSUMMARY:judged\nEND:VEVENT\n") +
      AllDay("20261211", "kept") + AllDay("20261211", "new") + AllDay("20261212", "other"));
  const Outcome first = Import(file);
  ASSERT_EQ(first.status, 0) << first.err.toStdString();
  EXPECT_TRUE(first.out.startsWith(QStringLiteral("added 2, 2 already there,"))) << first.out.toStdString();
  EXPECT_EQ(Day(2026, 12, 11), (QStringList{"note", "x09:00 judged", "--:-- kept", "--:-- new"}));
  const auto after = Snapshot(Folder());
  const Outcome second = Import(file);
  EXPECT_TRUE(second.out.startsWith(QStringLiteral("added 0, 4 already there,"))) << second.out.toStdString();
  EXPECT_EQ(Snapshot(Folder()), after);
}

struct RangeCase {
  const char* name;
  QStringList options;
  QStringList added;  // "yyyy/M/d" of the days that got a plan
  QString counts;     // as the summary line says them
};

class Range : public IcsTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(Range, DecidesTheDays) {
  const RangeCase& c = GetParam();
  const QString file = Events(AllDay("20001231", "y2000") + AllDay("20261209", "yesterday") +
                              AllDay("20261210", "today") + AllDay("20270301", "march") +
                              AllDay("20501231", "last") + AllDay("20510101", "too late") +
                              // Daily from two days ago, five times: only today on counts.
                              QStringLiteral("BEGIN:VEVENT\nUID:r\nDTSTAMP:20261201T000000Z\nDTSTART:20261208T120000\n"
                                             "RRULE:FREQ=DAILY;COUNT=5\nSUMMARY:daily\nEND:VEVENT\n"));
  const Outcome run = Import(file, c.options);
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.startsWith(c.counts)) << run.out.toStdString();
  QStringList days;
  for (const auto& [relative, content] : Snapshot(Folder() + QStringLiteral("/datas"))) {
    if (relative.endsWith(QLatin1String(".dat"))) days.append(relative.chopped(4));
  }
  QStringList expected = c.added;
  expected.sort();
  days.sort();
  EXPECT_EQ(days, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Import, Range,
    ::testing::Values(
        RangeCase{"TodayToTheLastDay", {}, {"2026/12/10", "2026/12/11", "2026/12/12", "2027/3/1", "2050/12/31"},
                  "added 6, 0 already there, 1 outside the range, 2 outside 2001-2050,"},
        // Asked to start before today, it starts today all the same.
        RangeCase{"NeverBeforeToday", {"--from", "2026-01-01"},
                  {"2026/12/10", "2026/12/11", "2026/12/12", "2027/3/1", "2050/12/31"},
                  "added 6, 0 already there, 1 outside the range, 2 outside 2001-2050,"},
        RangeCase{"FromAndTo", {"--from", "2026-12-11", "--to", "2027-03-01"},
                  {"2026/12/11", "2026/12/12", "2027/3/1"},
                  "added 3, 0 already there, 3 outside the range, 2 outside 2001-2050,"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IcsTest, AStartBeforeTodayIsSaid) {
  const Outcome run = Import(Events(AllDay("20261211", "x")), {"--from", "2026-01-01"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.err.contains(QStringLiteral("starting at today, 2026-12-10"))) << run.err.toStdString();
}

TEST_F(IcsTest, DryRunSaysWhatItWouldAddAndChangesNothing) {
  t.WriteLines("datas/2026/12/11.dat", {"", "--:-- there"});
  t.WriteLines("datas/2026/month.qdr", {" 12"});
  const auto before = Snapshot(Folder());
  const Outcome run = Import(Events(AllDay("20261211", "there") + AllDay("20261211", "new") + AllDay("20270102", "later")),
                             {"--dry-run"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, QStringLiteral("2026-12-11  --:-- new\n2027-01-02  --:-- later\n"
                                    "would add 2, 1 already there, 0 outside the range, 0 outside 2001-2050, "
                                    "0 changed by the code-page filter\n"));
  EXPECT_EQ(Snapshot(Folder()), before);
}

TEST_F(IcsTest, ThePlannersLockRefusesTheImport) {
  platform::files::FolderLock planner;
  ASSERT_TRUE(planner.TryLock(Folder()));
  const QString file = Events(AllDay("20261211", "x"));
  const Outcome run = Import(file);
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.err.contains(QStringLiteral("Quendar is running on"))) << run.err.toStdString();
  EXPECT_TRUE(t.Tree().isEmpty());
  // Looking changes nothing, so a dry run may.
  EXPECT_EQ(Import(file, {"--dry-run"}).status, 0);
  EXPECT_TRUE(t.Tree().isEmpty());
}

struct BadCase {
  const char* name;
  QString text;     // the whole file
  QString message;  // after "in.ics"
};

class BadFile : public IcsTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadFile, IsNamedAndNothingIsWritten) {
  t.WriteLines("datas/2026/12/11.dat", {"", "--:-- there"});
  t.WriteLines("datas/2026/month.qdr", {" 12"});
  const auto before = Snapshot(Folder());
  const Outcome run = Import(CalendarFile(GetParam().text));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("in.ics") + GetParam().message)) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QStringLiteral("nothing was imported"))) << run.err.toStdString();
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_EQ(Snapshot(Folder()), before);
}

const QString kHead = QStringLiteral("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//Test//EN\n");
const QString kGood = AllDay("20261212", "good");

INSTANTIATE_TEST_SUITE_P(
    Import, BadFile,
    ::testing::Values(
        BadCase{"Empty", {}, ": not an iCalendar file"},
        BadCase{"PlainText", "Dear all,\nthe meeting is on Friday.\n", ": not an iCalendar file"},
        BadCase{"CutShort", kHead + kGood + "BEGIN:VEVENT\nUID:x\nDTSTART;VALUE=DATE:20261213\n", ": cut short"},
        // The folded summary takes two lines, so the bad value stands on line 12.
        BadCase{"BadValue",
                kHead + "BEGIN:VEVENT\nUID:x\nDTSTAMP:20261201T000000Z\nSUMMARY:a folded\n  summary\n"
                        "DTSTART;VALUE=DATE:20261213\nEND:VEVENT\nBEGIN:VEVENT\nDTSTART:tomorrow\nEND:VEVENT\n"
                        "END:VCALENDAR\n",
                ":12: "},
        BadCase{"NoStart", kHead + kGood + "BEGIN:VEVENT\nUID:x\nSUMMARY:when?\nEND:VEVENT\nEND:VCALENDAR\n",
                ": an event without DTSTART"},
        BadCase{"UnknownZone",
                kHead + "BEGIN:VEVENT\nUID:x\nDTSTART;TZID=Nowhere/Land:20261213T090000\nSUMMARY:s\nEND:VEVENT\n"
                        "END:VCALENDAR\n",
                ": unknown time zone \"Nowhere/Land\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IcsTest, AMissingFileIsNamed) {
  const Outcome run = Import(Folder() + QStringLiteral("/../none.ics"));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("none.ics"))) << run.err.toStdString();
}

TEST_F(IcsTest, AFailingWriteKeepsEveryDayWhole) {
  t.WriteLines("datas/2026/12/11.dat", {"", "--:-- there"});
  t.WriteLines("datas/2026/month.qdr", {" 12"});
  const QString file = Events(AllDay("20261211", "first") + AllDay("20261212", "second") + AllDay("20261213", "third"));
  // The append of the 11th, then the folder-less 12th: its new file fails.
  platform::files::FailOperation(3);
  const Outcome run = Import(file);
  platform::files::ClearFaults();
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("cannot write"))) << run.err.toStdString();
  EXPECT_TRUE(run.out.startsWith(QStringLiteral("added 1,"))) << run.out.toStdString();
  EXPECT_EQ(Day(2026, 12, 11), (QStringList{"", "--:-- there", "--:-- first"}));
  EXPECT_EQ(t.Tree(), (QStringList{"datas", "datas/2026", "datas/2026/12", "datas/2026/12/11.dat",
                                   "datas/2026/month.qdr"}));
  // Once the disk takes it again, the same file completes the import.
  EXPECT_TRUE(Import(file).out.startsWith(QStringLiteral("added 2, 1 already there")));
}

TEST_F(IcsTest, AWrongCommandLineIsSaid) {
  for (const QStringList& arguments :
       {QStringList{}, {"sync"}, {"export", "x.ics"}, {"import"}, {"import", "-o", "x", "y.ics"},
        {"export", "--from", "2026-13-01"}, {"export", "--from", "2027-01-01", "--to", "2026-01-01"},
        {"export", "--colour"}}) {
    const Outcome run = icstest::RunIcs(arguments, today);
    EXPECT_EQ(run.status, 64) << arguments.join(' ').toStdString();
    EXPECT_FALSE(run.err.isEmpty());
  }
  const Outcome help = icstest::RunIcs({"--help"}, today);
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: quendar-ics export")));
}



struct RepeatCase {
  const char* name;
  const char* start;  // DTSTART, floating
  const char* rule;
  int added;
  bool cut;
};

class Repeating : public IcsTest, public ::testing::WithParamInterface<RepeatCase> {};

// A rule without a sane end is cut, said and counted, and the import still
// finishes; an ordinary one over the whole range is taken in full.
TEST_P(Repeating, IsBoundedAndCutShortWhenRunaway) {
  const RepeatCase& c = GetParam();
  // A dry run: the expansion is what is judged here, not the writing of
  // thousands of day files.
  const Outcome run = Import(Events(QStringLiteral("BEGIN:VEVENT\nUID:t\nDTSTAMP:20261201T000000Z\nDTSTART:%1\n"
                                                   "RRULE:%2\nSUMMARY:tick\nEND:VEVENT\n")
                                        .arg(c.start, c.rule)),
                             {"--dry-run"});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains(QStringLiteral("would add %1,").arg(c.added))) << run.out.right(300).toStdString();
  EXPECT_EQ(run.out.contains(QStringLiteral(", 1 repeating event(s) cut short")), c.cut) << run.out.toStdString();
  EXPECT_EQ(run.err.contains(QStringLiteral("the event \"tick\" repeats too often")), c.cut) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Import, Repeating,
    ::testing::Values(
        // Sixty seconds are one plan of their minute; stepping stops after
        // 250,000 seconds, in the 4,167th minute.
        RepeatCase{"SecondlyTo2050", "20261210T000000", "FREQ=SECONDLY;UNTIL=20501231T000000", 4167, true},
        RepeatCase{"MinutelyWithoutEnd", "20261210T000000", "FREQ=MINUTELY", ics::kMostPlans, true},
        // Counted from 2001, the rule must be stepped through from its start
        // and never reaches today.
        RepeatCase{"SecondlyCountedFromLongAgo", "20010101T000000", "FREQ=SECONDLY;COUNT=2000000000", 0, true},
        // Two minutes of seconds are two plans.
        RepeatCase{"SecondsWithinAMinuteAreOnePlan", "20261211T080000", "FREQ=SECONDLY;COUNT=120", 2, false},
        // Daily from today to 2050-12-31, begun years ago.
        RepeatCase{"DailyOverTheWholeRange", "20050301T090000", "FREQ=DAILY", 8788, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IcsTest, CancelledEventsAndToDosAreNoPlans) {
  const Outcome run = Import(Events(QStringLiteral(
      "BEGIN:VEVENT\nUID:a\nDTSTAMP:20261201T000000Z\nDTSTART:20261211T090000\nSTATUS:CANCELLED\n"
      "SUMMARY:called off\nEND:VEVENT\n"
      "BEGIN:VEVENT\nUID:b\nDTSTAMP:20261201T000000Z\nDTSTART:20261211T100000\nRRULE:FREQ=DAILY;COUNT=3\n"
      "STATUS:CANCELLED\nSUMMARY:series called off\nEND:VEVENT\n"
      "BEGIN:VTODO\nUID:c\nDTSTAMP:20261201T000000Z\nDUE:20261211T170000\nSTATUS:CANCELLED\n"
      "SUMMARY:not needed\nEND:VTODO\n"
      // Called off before it had a time: no error, as it is no plan.
      "BEGIN:VEVENT\nUID:d\nDTSTAMP:20261201T000000Z\nSTATUS:CANCELLED\nSUMMARY:never set\nEND:VEVENT\n"
      "BEGIN:VEVENT\nUID:e\nDTSTAMP:20261201T000000Z\nDTSTART:20261211T110000\nSTATUS:CONFIRMED\n"
      "SUMMARY:still on\nEND:VEVENT\n")));
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(Day(2026, 12, 11), (QStringList{"", "11:00 still on"}));
  EXPECT_TRUE(run.out.startsWith(QStringLiteral("added 1,"))) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains(QStringLiteral(", 4 cancelled left out"))) << run.out.toStdString();
}

}  // namespace
