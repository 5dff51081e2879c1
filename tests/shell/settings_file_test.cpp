#include "shell/settings_file.h"

#include "shell/form1.h"
#include "shell/startup.h"
#include "test_app.h"
#include "platform/files/file_ops.h"

#include <gtest/gtest.h>

#include <cstring>

using testsupport::TestApp;

namespace {

QByteArray Good() { return shell::InitialSettingsBytes(); }

QByteArray WithDouble(QByteArray bytes, int offset, double value) {
  std::memcpy(bytes.data() + offset, &value, 8);
  return bytes;
}

QByteArray WithInt16(QByteArray bytes, int offset, int value) {
  bytes.replace(offset, 2, platform::files::Int16Bytes(std::int16_t(value)));
  return bytes;
}

struct HeaderCase {
  std::string name;
  QByteArray bytes;
  bool accepted;
};

class SettingsHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(SettingsHeader, IsCheckedAsAWhole) {
  shell::Form1 form1;
  TestApp t;
  t.WriteBytes("Quendar.ini", GetParam().bytes);
  EXPECT_EQ(shell::ReadSettingsFile(t.Path("Quendar.ini"), form1), GetParam().accepted);
}

std::vector<HeaderCase> HeaderCases() {
  std::vector<HeaderCase> cases = {
      {"good", Good(), true},
      {"length0", QByteArray(), false},
      {"length81", Good().left(81), false},
      {"length82", Good().left(82), true},
      {"length141", Good().left(141), true},
      {"longerThan142", Good() + QByteArray(50, '\x7f'), true},
      {"offset46Is1", WithInt16(Good(), 46, 1), false},
      {"offset58Wrong", WithInt16(Good(), 58, 9163), false},
      {"ignoredBytesChanged",
       WithInt16(WithInt16(WithInt16(WithInt16(Good(), 0, -1), 10, 77), 22, 5), 70, 12345), true},
      {"unreadBytesChanged", WithInt16(WithInt16(WithInt16(Good(), 12, 1), 48, 2), 72, 3), true},
      {"doubleLowBytesSet", WithInt16(Good(), 2, 1), false},
      {"doubleSlightlyOff", WithDouble(Good(), 74, 301.0000001), false},
  };
  const int doubles[] = {2, 14, 26, 38, 50, 62, 74};
  for (int offset : doubles) {
    cases.push_back({"double" + std::to_string(offset) + "Wrong", WithDouble(Good(), offset, 100.0), false});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsHeader, testing::ValuesIn(HeaderCases()),
                         [](const auto& info) { return info.param.name; });

TEST(SettingsPositions, NonZeroValuesMoveTheNotesZeroKeepsTheDesign) {
  QByteArray bytes = Good();
  bytes = WithInt16(bytes, 82 + 4 * 3, 1200);  // note 3: Left only
  bytes = WithInt16(bytes, 84 + 4 * 7, 3000);  // note 7: Top only
  bytes = WithInt16(bytes, 82 + 4 * 14, 30);   // note 14: both
  bytes = WithInt16(bytes, 84 + 4 * 14, 300);
  TestApp t;
  t.WriteBytes("Quendar.ini", bytes);
  shell::Form1 f;
  ASSERT_TRUE(shell::ReadSettingsFile(t.Path("Quendar.ini"), f));

  for (int k = 0; k < shell::kNoteCount; ++k) {
    SCOPED_TRACE(k);
    const int left = k == 3 ? 1200 : k == 14 ? 30 : shell::kNoteDesignLeft[k];
    EXPECT_EQ(f.Label10[k].Left, left);
    EXPECT_EQ(f.Label11[k].Left, left);
    EXPECT_EQ(f.Label10[k].Top, k == 7 ? 3000 : k == 14 ? 300 : shell::kNoteDesignTop[k]);
  }
  EXPECT_EQ(f.Label11[7].Top, 3000 + 255 - 20);
  EXPECT_EQ(f.Label11[14].Top, 300 + 255 - 20);
  EXPECT_EQ(f.Label11[0].Top, shell::kNoteDesignTop[0] + 240);  // untouched design place
}

TEST(SettingsPositions, ShortFileKeepsDesignPlacesBeyondItsEnd) {
  QByteArray bytes = WithInt16(Good(), 82, 999).left(84);  // note 0's Left, then the end
  TestApp t;
  t.WriteBytes("Quendar.ini", bytes);
  shell::Form1 f;
  ASSERT_TRUE(shell::ReadSettingsFile(t.Path("Quendar.ini"), f));
  EXPECT_EQ(f.Label10[0].Left, 999);
  EXPECT_EQ(f.Label10[0].Top, shell::kNoteDesignTop[0]);
  EXPECT_EQ(f.Label10[1].Left, shell::kNoteDesignLeft[1]);
}

TEST(SettingsWrite, ChangesOnlyThePositionBlock) {
  TestApp t;
  QByteArray original = WithInt16(Good(), 0, 4321) + QByteArray("tail", 4);
  t.WriteBytes("Quendar.ini", original);
  shell::Form1 f;
  f.Label10[0].Left = 30;
  f.Label10[0].Top = 300;
  f.Label10[14].Left = 5000;
  f.Label10[14].Top = 2999;
  shell::WriteNotePositions(t.Path("Quendar.ini"), f);

  const QByteArray after = t.ReadBytes("Quendar.ini");
  ASSERT_EQ(after.size(), original.size());
  EXPECT_EQ(after.left(82), original.left(82));
  EXPECT_EQ(after.mid(142), original.mid(142));
  EXPECT_EQ(platform::files::Int16At(after, 82), 30);
  EXPECT_EQ(platform::files::Int16At(after, 84), 300);
  EXPECT_EQ(platform::files::Int16At(after, 82 + 56), 5000);
  EXPECT_EQ(platform::files::Int16At(after, 84 + 56), 2999);
  EXPECT_EQ(platform::files::Int16At(after, 82 + 4), shell::kNoteDesignLeft[1]);

  // Read back, the positions come home.
  shell::Form1 g;
  ASSERT_TRUE(shell::ReadSettingsFile(t.Path("Quendar.ini"), g));
  EXPECT_EQ(g.Label10[14].Left, 5000);
  EXPECT_EQ(g.Label11[14].Top, 2999 + 235);
}

TEST(SettingsWrite, LeavesAFileCutShortInsideItsHeaderAlone) {
  TestApp t;
  const QByteArray cut = Good().left(60);
  t.WriteBytes("Quendar.ini", cut);
  shell::Form1 f;
  f.Label10[0].Left = 30;
  shell::WriteNotePositions(t.Path("Quendar.ini"), f);
  EXPECT_EQ(t.ReadBytes("Quendar.ini"), cut);
}

TEST(SettingsWrite, NeverCreatesAMissingFile) {
  TestApp t(false);
  shell::Form1 f;
  shell::WriteNotePositions(t.Path("Quendar.ini"), f);
  EXPECT_FALSE(t.Exists("Quendar.ini"));
}

}  // namespace
