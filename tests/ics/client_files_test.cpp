// Calendar files as clients write them, imported into an empty folder on a
// machine in Taipei (UTC+8, no daylight saving) on 10 December 2026.

#include "ics_fixture.h"

namespace {

using icstest::IcsTest;

const QString kBerlin = QStringLiteral(
    "BEGIN:VTIMEZONE\n"
    "TZID:W. Europe Standard Time\n"
    "BEGIN:STANDARD\n"
    "DTSTART:16011028T030000\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\n"
    "TZOFFSETFROM:+0200\n"
    "TZOFFSETTO:+0100\n"
    "END:STANDARD\n"
    "BEGIN:DAYLIGHT\n"
    "DTSTART:16010325T020000\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\n"
    "TZOFFSETFROM:+0100\n"
    "TZOFFSETTO:+0200\n"
    "END:DAYLIGHT\n"
    "END:VTIMEZONE\n");

struct ClientCase {
  const char* name;
  QString body;  // inside the VCALENDAR
  std::map<QString, QStringList> days;  // "2027/1/15" -> the day file's lines
};

class ClientFiles : public IcsTest, public ::testing::WithParamInterface<ClientCase> {};

TEST_P(ClientFiles, LandOnTheirLocalDays) {
  const ClientCase& c = GetParam();
  const icstest::Outcome run = Import(Events(c.body));
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  QStringList dayFiles;
  for (const auto& [relative, content] : icstest::Snapshot(Folder() + QStringLiteral("/datas"))) {
    if (relative.endsWith(QLatin1String(".dat"))) dayFiles.append(relative.chopped(4));
  }
  QStringList expected;
  for (const auto& [day, lines] : c.days) {
    expected.append(day);
    const QStringList parts = day.split('/');
    EXPECT_EQ(Day(parts[0].toInt(), parts[1].toInt(), parts[2].toInt()), lines) << day.toStdString();
  }
  dayFiles.sort();
  expected.sort();
  EXPECT_EQ(dayFiles, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Import, ClientFiles,
    ::testing::Values(
        // Summer time in the file's zone: 09:00 at UTC+2 is 15:00 in Taipei;
        // in winter (UTC+1) the same wall time is 16:00.
        ClientCase{"ZoneWithDaylightSaving",
                   kBerlin + QStringLiteral("BEGIN:VEVENT\nUID:a\nDTSTAMP:20261201T000000Z\n"
                                            "DTSTART;TZID=W. Europe Standard Time:20270715T090000\n"
                                            "DTEND;TZID=W. Europe Standard Time:20270715T100000\n"
                                            "SUMMARY:summer\nEND:VEVENT\n"
                                            "BEGIN:VEVENT\nUID:b\nDTSTAMP:20261201T000000Z\n"
                                            "DTSTART;TZID=W. Europe Standard Time:20270115T090000\n"
                                            "SUMMARY:winter\nEND:VEVENT\n"),
                   {{"2027/7/15", {"", "15:00 summer"}}, {"2027/1/15", {"", "16:00 winter"}}}},
        // 23:30 UTC on the last day of the year is the next morning here.
        ClientCase{"UtcTime",
                   QStringLiteral("BEGIN:VEVENT\nUID:c\nDTSTAMP:20261201T000000Z\nDTSTART:20261231T233000Z\n"
                                  "SUMMARY:new year call\nEND:VEVENT\n"),
                   {{"2027/1/1", {"", "07:30 new year call"}}}},
        // 24:00 is no time field: it is the next day's 00:00.
        ClientCase{"FloatingTime",
                   QStringLiteral("BEGIN:VEVENT\nUID:d\nDTSTAMP:20261201T000000Z\nDTSTART:20261211T080500\n"
                                  "SUMMARY:dentist\nEND:VEVENT\n"
                                  "BEGIN:VEVENT\nUID:d2\nDTSTAMP:20261201T000000Z\nDTSTART:20261211T240000\n"
                                  "SUMMARY:midnight\nEND:VEVENT\n"),
                   {{"2026/12/11", {"", "08:05 dentist"}}, {"2026/12/12", {"", "00:00 midnight"}}}},
        // A three-day all-day event is one plan without an alarm on its first day.
        ClientCase{"AllDay",
                   QStringLiteral("BEGIN:VEVENT\nUID:e\nDTSTAMP:20261201T000000Z\nDTSTART;VALUE=DATE:20261224\n"
                                  "DTEND;VALUE=DATE:20261227\nSUMMARY:holidays\nEND:VEVENT\n"),
                   {{"2026/12/24", {"", "--:-- holidays"}}}},
        // Weekly on Mondays and Wednesdays from Monday 14 December, four times,
        // one of them taken out; the exception is given in the event's zone.
        ClientCase{"WeeklyWithException",
                   kBerlin + QStringLiteral("BEGIN:VEVENT\nUID:f\nDTSTAMP:20261201T000000Z\n"
                                            "DTSTART;TZID=W. Europe Standard Time:20261214T073000\n"
                                            "RRULE:FREQ=WEEKLY;BYDAY=MO,WE;COUNT=4\n"
                                            "EXDATE;TZID=W. Europe Standard Time:20261216T073000\n"
                                            "SUMMARY:standup\nEND:VEVENT\n"),
                   {{"2026/12/14", {"", "14:30 standup"}},
                    {"2026/12/21", {"", "14:30 standup"}},
                    {"2026/12/23", {"", "14:30 standup"}}}},
        // Extra dates beside the rule, in the event's zone, and one the rule
        // gives already, which is no second plan.
        ClientCase{"ExtraDates",
                   kBerlin + QStringLiteral("BEGIN:VEVENT\nUID:r\nDTSTAMP:20261201T000000Z\n"
                                            "DTSTART;TZID=W. Europe Standard Time:20261214T073000\n"
                                            "RRULE:FREQ=WEEKLY;COUNT=2\n"
                                            "RDATE;TZID=W. Europe Standard Time:20261217T073000,20261221T073000\n"
                                            "SUMMARY:review\nEND:VEVENT\n"),
                   {{"2026/12/14", {"", "14:30 review"}},
                    {"2026/12/17", {"", "14:30 review"}},
                    {"2026/12/21", {"", "14:30 review"}}}},
        // Folded at 75 octets, once inside a run of Chinese characters.
        ClientCase{"FoldedLongLine",
                   QStringLiteral("BEGIN:VEVENT\nUID:g\nDTSTAMP:20261201T000000Z\nDTSTART;VALUE=DATE:20261212\n"
                                  "SUMMARY:A long summary that a client folds because the content line is lo\n"
                                  " nger than seventy-five octets: 年終\n"
                                  "\t報告\nEND:VEVENT\n"),
                   {{"2026/12/12",
                     {"", "--:-- A long summary that a client folds because the content line is longer than "
                          "seventy-five octets: 年終報告"}}}},
        // A to-do is placed at its due time; one without a due date has no day.
        ClientCase{"TodoWithDue",
                   QStringLiteral("BEGIN:VTODO\nUID:h\nDTSTAMP:20261201T000000Z\nDUE:20261215T170000\n"
                                  "SUMMARY:send the report\nEND:VTODO\n"
                                  "BEGIN:VTODO\nUID:i\nDTSTAMP:20261201T000000Z\nDUE;VALUE=DATE:20261216\n"
                                  "SUMMARY:pay rent\nEND:VTODO\n"
                                  "BEGIN:VTODO\nUID:j\nDTSTAMP:20261201T000000Z\nSUMMARY:some day\nEND:VTODO\n"),
                   {{"2026/12/15", {"", "17:00 send the report"}}, {"2026/12/16", {"", "--:-- pay rent"}}}},
        // Unfolded, the long line is too long for one buffer of libical's.
        ClientCase{"VeryLongSummary",
                   QStringLiteral("BEGIN:VEVENT\nUID:k\nDTSTAMP:20261201T000000Z\nDTSTART;VALUE=DATE:20261212\n"
                                  "SUMMARY:") + QString(3000, 'a') + QStringLiteral("\nEND:VEVENT\n"),
                   {{"2026/12/12", {"", "--:-- " + QString(3000, 'a')}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IcsTest, AByteOrderMarkIsNoPartOfTheFile) {
  ASSERT_EQ(Import(CalendarFile(QStringLiteral("\uFEFFBEGIN:VCALENDAR\nVERSION:2.0\nPRODID:x\nBEGIN:VEVENT\nUID:a\n"
                                               "DTSTART;VALUE=DATE:20261212\nSUMMARY:s\nEND:VEVENT\nEND:VCALENDAR\n")))
                .status,
            0);
  EXPECT_EQ(Day(2026, 12, 12), (QStringList{"", "--:-- s"}));
}

TEST_F(IcsTest, ImportFollowsTheMachinesZone) {
  const QString file = Events(kBerlin + QStringLiteral("BEGIN:VEVENT\nUID:a\nDTSTAMP:20261201T000000Z\n"
                                                       "DTSTART;TZID=W. Europe Standard Time:20270715T090000\n"
                                                       "SUMMARY:summer\nEND:VEVENT\n"));
  SetZone("America/New_York");
  ASSERT_EQ(Import(file).status, 0);
  EXPECT_EQ(Day(2027, 7, 15), (QStringList{"", "03:00 summer"}));
}

TEST_F(IcsTest, TextIsFilteredAsAddFiltersItAndReported) {
  // Quotes go as the plan box refuses them; a snowman and an emoji have no
  // place in code page 950; a line break would split the plan.
  const icstest::Outcome run = Import(Events(QStringLiteral(
      "BEGIN:VEVENT\nUID:a\nDTSTAMP:20261201T000000Z\nDTSTART;VALUE=DATE:20261211\n"
      "SUMMARY:say \"hi\" to Bob's ☃ team 😀\\nnow\nEND:VEVENT\n"
      "BEGIN:VEVENT\nUID:b\nDTSTAMP:20261201T000000Z\nDTSTART;VALUE=DATE:20261211\n"
      "SUMMARY:許功蓋\nEND:VEVENT\n"
      "BEGIN:VEVENT\nUID:c\nDTSTAMP:20261201T000000Z\nDTSTART;VALUE=DATE:20261211\n"
      "SUMMARY:😀\nEND:VEVENT\n")));
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(Day(2026, 12, 11), (QStringList{"", "--:-- say hi to Bobs  team now", "--:-- 許功蓋"}));
  EXPECT_TRUE(run.out.contains(QStringLiteral("added 2,"))) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains(QStringLiteral("1 changed by the code-page filter"))) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains(QStringLiteral("1 without a text"))) << run.out.toStdString();
}

}  // namespace
