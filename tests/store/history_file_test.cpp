// The counters and history files on a real temporary data folder.

#include "store/history_file.h"
#include "store/journal.h"
#include "test_app.h"
#include "platform/files/codepage.h"

#include <gtest/gtest.h>

using testsupport::Cp950Lines;
using testsupport::TestApp;

namespace {

class History : public ::testing::Test {
 protected:
  TestApp t;
  shell::App& app = t.app;
};

TEST_F(History, AFreshDataFolderGetsFourZeroBytesAndAnExistingFileIsLeftAlone) {
  t.WriteBytes("datas/.keep", {});
  store::EnsureCountersFile(app);
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), QByteArray(4, '\0'));
  t.WriteBytes("datas/quendar.qdr", QByteArray("\x05\x00\x07\x00", 4));
  store::EnsureCountersFile(app);
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), QByteArray("\x05\x00\x07\x00", 4));
}

struct CountCase {
  QByteArray before;
  store::CountField field;
  QByteArray after;
};

class AddToCount : public History, public ::testing::WithParamInterface<CountCase> {};

TEST_P(AddToCount, AddsOneLittleEndianWithoutWrappingAndKeepsFourBytes) {
  t.WriteBytes("datas/quendar.qdr", GetParam().before);
  store::Journal change(app);
  change.AddToCount(GetParam().field);
  ASSERT_TRUE(store::RunChange(app, change, store::Finish::Now));
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr").toHex(' '), GetParam().after.toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Table, AddToCount,
    ::testing::Values(CountCase{QByteArray(4, '\0'), store::CountField::DoneCount, QByteArray("\0\0\1\0", 4)},
                      CountCase{QByteArray(4, '\0'), store::CountField::NotDoneCount, QByteArray("\1\0\0\0", 4)},
                      CountCase{QByteArray("\xff\0\0\0", 4), store::CountField::NotDoneCount,
                                QByteArray("\0\1\0\0", 4)},
                      CountCase{QByteArray("\0\0\xff\x7f", 4), store::CountField::DoneCount,
                                QByteArray("\0\0\xff\x7f", 4)},
                      // A short file reads as zeros past its end and comes back whole.
                      CountCase{QByteArray("\3", 1), store::CountField::DoneCount, QByteArray("\3\0\1\0", 4)},
                      CountCase{QByteArray(), store::CountField::NotDoneCount, QByteArray("\1\0\0\0", 4)}));

TEST_F(History, AppendsCompleteALastLineWithoutItsEndAndKeepTheBytes) {
  t.WriteBytes("datas/quendar.dat", "old");
  store::Journal change(app);
  change.AppendHistory({platform::files::Encode("寫報告"), "\xff"});
  ASSERT_TRUE(store::RunChange(app, change, store::Finish::Now));
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), "old\r\n" + platform::files::Encode("寫報告") + "\r\n\xff\r\n");
}

TEST_F(History, ThePlanTextStartsAtTheSeventhCharacter) {
  EXPECT_EQ(store::PlanTextBytes(platform::files::Encode("09:30 寫報告")), platform::files::Encode("寫報告"));
  EXPECT_EQ(store::PlanTextBytes("--:-- "), "");
  EXPECT_EQ(store::PlanTextBytes("09:3"), "");
  // A foreign line whose first characters are Chinese still cuts by characters.
  EXPECT_EQ(store::PlanTextBytes(platform::files::Encode("一二三四五六七八")), platform::files::Encode("七八"));
}

TEST_F(History, DeletingARecordKeepsTheOthersInOrder) {
  t.WriteLines("datas/quendar.dat", {"A", "B", "C"});
  store::DeleteHistoryRecord(app, 1);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"A", "C"}));
  store::DeleteHistoryRecord(app, 7);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"A", "C"}));
  store::DeleteHistoryRecord(app, 0);
  store::DeleteHistoryRecord(app, 0);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), QByteArray());
  EXPECT_TRUE(store::ReadHistory(app).empty());
  EXPECT_FALSE(t.Exists("datas/quendar.~dat"));
}

TEST_F(History, DeletingFromAMissingHistoryCreatesNothing) {
  t.WriteBytes("datas/.keep", {});
  store::DeleteHistoryRecord(app, 0);
  EXPECT_FALSE(t.Exists("datas/quendar.dat"));
  EXPECT_FALSE(t.Exists("datas/quendar.~dat"));
}

TEST_F(History, AFailedDeleteLeavesTheHistoryAsItWas) {
  t.WriteLines("datas/quendar.dat", {"A", "B"});
  platform::files::FailOperation(1);
  EXPECT_THROW(store::DeleteHistoryRecord(app, 0), platform::files::FileError);
  platform::files::ClearFaults();
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), Cp950Lines({"A", "B"}));
  EXPECT_FALSE(t.Exists("datas/quendar.~dat"));
}

}  // namespace
