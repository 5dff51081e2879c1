// Export of a folder, and the plans coming back through an import.

#include "ics_fixture.h"

#include <QRegularExpression>

namespace {

using icstest::IcsTest;
using testsupport::TestApp;

class RoundTrip : public IcsTest {
 protected:
  void SetUp() override {
    IcsTest::SetUp();
    // 許, 功 and 蓋 end in the byte 0x5C, a backslash to anyone reading ASCII.
    t.WriteLines("datas/2026/12/24.dat", {"平安夜", "09:30 許功蓋的會議", "--:-- buy a tree", "x10:00 judged today",
                                          "09:30 許功蓋的會議", "23:59 back\\slash, comma; semicolon"});
    t.WriteLines("datas/2026/month.qdr", {" 12"});
    t.WriteLines("datas/2027/1/1.dat", {"元旦"});
    t.WriteLines("datas/2027/2/3.dat", {"", "07:05 早餐"});
    t.WriteLines("datas/2027/month.qdr", {" 1", " 2"});
  }
  // Everything of a calendar but the moment it was written.
  static QString WithoutStamps(const QString& calendar) {
    return QString(calendar).remove(QRegularExpression(QStringLiteral("DTSTAMP:[0-9TZ]+\r\n")));
  }
};

TEST_F(RoundTrip, ImportIntoAnEmptyFolderGivesTheSamePlanLines) {
  const icstest::Outcome exported = Export();
  ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
  const QString file = CalendarFile(exported.out);

  TestApp other(false);
  const icstest::Outcome imported =
      icstest::RunIcs({"import", "--folder", other.dir.path(), file}, today);
  ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
  // The notes come back as nothing: an import only adds plans.
  EXPECT_TRUE(imported.out.startsWith(QStringLiteral("added 5, 0 already there"))) << imported.out.toStdString();
  EXPECT_TRUE(imported.out.contains(QStringLiteral("2 day note(s) left out"))) << imported.out.toStdString();
  EXPECT_EQ(other.ReadBytes("datas/2026/12/24.dat"),
            testsupport::Cp950Lines({"", "09:30 許功蓋的會議", "--:-- buy a tree", "09:30 許功蓋的會議",
                                     "23:59 back\\slash, comma; semicolon"}));
  EXPECT_EQ(other.ReadBytes("datas/2027/2/3.dat"), t.ReadBytes("datas/2027/2/3.dat"));
  EXPECT_EQ(other.Tree(), (QStringList{"datas", "datas/2026", "datas/2026/12", "datas/2026/12/24.dat",
                                       "datas/2026/month.qdr", "datas/2027", "datas/2027/2", "datas/2027/2/3.dat",
                                       "datas/2027/month.qdr"}));
  EXPECT_EQ(other.ReadBytes("datas/2027/month.qdr"), testsupport::Cp950Lines({" 2"}));
}

TEST_F(RoundTrip, ExportWritesEventsAlarmsAndNotes) {
  const icstest::Outcome run = Export({"--from", "2026-12-24", "--to", "2026-12-31"});
  ASSERT_EQ(run.status, 0);
  const QString& ics = run.out;
  EXPECT_TRUE(ics.startsWith(QStringLiteral("BEGIN:VCALENDAR\r\n")));
  EXPECT_TRUE(ics.contains(QStringLiteral("VERSION:2.0\r\n")));
  EXPECT_TRUE(ics.contains(QStringLiteral("PRODID:")));
  EXPECT_EQ(ics.count(QStringLiteral("BEGIN:VEVENT")), 5);  // note, four plans without a verdict
  EXPECT_FALSE(ics.contains(QStringLiteral("judged")));
  EXPECT_FALSE(ics.contains(QStringLiteral("元旦")));  // outside the range
  // A timed plan rings: floating start, an alarm at it.
  EXPECT_EQ(ics.count(QStringLiteral("DTSTART:20261224T093000\r\n")), 2);
  EXPECT_EQ(ics.count(QStringLiteral("BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:PT0S\r\n")), 3);
  EXPECT_TRUE(ics.contains(QStringLiteral("DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261225\r\n"
                                          "SUMMARY:buy a tree\r\n")));
  EXPECT_TRUE(ics.contains(QStringLiteral("SUMMARY:平安夜\r\nCATEGORIES:當日行程節慶\r\n")));
  EXPECT_TRUE(ics.contains(QStringLiteral("SUMMARY:back\\\\slash\\, comma\\; semicolon\r\n")));
}

TEST_F(RoundTrip, ExportTwiceGivesTheSameUids) {
  const QString first = Export().out;
  const QString second = Export().out;
  EXPECT_EQ(WithoutStamps(first), WithoutStamps(second));
  // The two equal plans of one day are two events.
  QStringList uids;
  for (const auto& match : QRegularExpression(QStringLiteral("UID:([^\r]+)")).globalMatch(first)) {
    uids.append(match.captured(1));
  }
  EXPECT_EQ(uids.size(), 7);
  EXPECT_EQ(QSet<QString>(uids.begin(), uids.end()).size(), 7);
}

TEST_F(RoundTrip, ExportChangesNothingAndWritesItsFileWhole) {
  const auto before = icstest::Snapshot(Folder());
  const QString output = Folder() + QStringLiteral("/../out.ics");
  const icstest::Outcome run = Export({"-o", output});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(icstest::Snapshot(Folder()), before);
  QFile file(output);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().endsWith("END:VCALENDAR\r\n"));
  EXPECT_TRUE(run.out.contains(QStringLiteral("7 event(s) written")));
  QFile::remove(output);
}

TEST_F(RoundTrip, UndecodableBytesAreReplacedAndReportedOnce) {
  // 0x81 leads a pair only before a trail byte, which a blank or a 0x7F is not.
  t.WriteBytes("datas/2026/12/24.dat", QByteArray("\r\n--:-- a\x81 z\r\n--:-- \x81\x7F\r\n"));
  const icstest::Outcome run = Export();
  ASSERT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.contains(QStringLiteral("SUMMARY:a\uFFFD z\r\n"))) << run.out.toStdString();
  EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QStringLiteral("2 line(s)"))) << run.err.toStdString();
}

}  // namespace
