// Dragging notes by their time bars, on the model with the scripted cursor.

#include "today/note_drag.h"

#include "test_app.h"

#include <gtest/gtest.h>

using testsupport::TestApp;

namespace {

constexpr platform::Color kDragged = platform::RGB(240, 240, 240);

class NoteDrag : public testing::Test {
 protected:
  void SetUp() override {
    t.WriteLines("datas/2005/8/5.dat", {"", "08:30 晨跑"});
    ASSERT_TRUE(t.Start());
    // August 2005 needs five week rows: the client area is 7560 x 3970.
    ASSERT_EQ(f.ClientHeight(), 3970);
  }
  void Press(int i, QPoint cursor) {
    t.platform.cursor = cursor;
    f.Label10[i].MouseDown(platform::kLeftButton, 0, 0, 0);
  }
  void MoveTo(int i, QPoint cursor) {
    t.platform.cursor = cursor;
    f.Label10[i].MouseMove(platform::kLeftButton, 0, 0, 0);
  }
  void Release(int i) { f.Label10[i].MouseUp(platform::kLeftButton, 0, 0, 0); }

  TestApp t;
  shell::Form1& f = t.app.form1;
};

TEST_F(NoteDrag, OnlyTheOutlineFollowsThePointerUntilTheRelease) {
  Press(0, {200, 100});
  EXPECT_TRUE(f.Shape2.Visible);
  EXPECT_EQ(f.Label10[0].BackColor, kDragged);
  EXPECT_EQ(QPoint(f.Shape2.Left, f.Shape2.Top), QPoint(150, 420));

  MoveTo(0, {230, 140});  // 30 and 40 device-independent pixels
  EXPECT_EQ(QPoint(f.Shape2.Left, f.Shape2.Top), QPoint(150 + 450, 420 + 600));
  EXPECT_EQ(QPoint(f.Label10[0].Left, f.Label10[0].Top), QPoint(150, 420));

  Release(0);
  EXPECT_FALSE(f.Shape2.Visible);
  EXPECT_EQ(f.Label10[0].BackColor, shell::kTimeBarColor);
  EXPECT_EQ(QPoint(f.Label10[0].Left, f.Label10[0].Top), QPoint(600, 1020));
  EXPECT_EQ(QPoint(f.Label11[0].Left, f.Label11[0].Top), QPoint(600, 1020 + 235));
}

struct DropCase {
  const char* name;
  QPoint move;  // pixels
  QPoint dropped;
};

class NoteDrop : public NoteDrag, public testing::WithParamInterface<DropCase> {};

TEST_P(NoteDrop, KeepsTheWholeNoteInsideTheWindow) {
  Press(0, {500, 400});
  MoveTo(0, QPoint(500, 400) + GetParam().move);
  Release(0);
  EXPECT_EQ(QPoint(f.Label10[0].Left, f.Label10[0].Top), GetParam().dropped);
  EXPECT_EQ(QPoint(f.Label11[0].Left, f.Label11[0].Top), GetParam().dropped + QPoint(0, 235));
}

// Note 0 stands at 150, 420; a note is 1500 wide and 255 + 900 high.
INSTANTIATE_TEST_SUITE_P(
    Edges, NoteDrop,
    testing::Values(DropCase{"Left", {-20, 0}, {30, 420}}, DropCase{"Top", {0, -20}, {150, 300}},
                    DropCase{"Right", {400, 0}, {7560 - 1500 - 30, 420}},
                    DropCase{"Bottom", {0, 250}, {150, 3970 - 255 - 900}},
                    DropCase{"TopLeftCorner", {-100, -100}, {30, 300}},
                    DropCase{"BottomRightCorner", {600, 600}, {6030, 2815}}),
    [](const auto& info) { return std::string(info.param.name); });

// A click without a move is a drop where the note stands: the clamps apply
// and the body goes back 20 twips over the bar's lower edge.
TEST_F(NoteDrag, APressAndReleaseWithoutAMoveDropsTheNoteWhereItStands) {
  // Note 4's design place reaches 5 twips below a five-row window.
  const int bottom = f.ClientHeight() - f.Label10[4].Height - f.Label11[4].Height;
  ASSERT_EQ(f.Label10[4].Top, bottom + 5);
  const int left = f.Label10[4].Left;
  f.Label11[0].Top += 100;  // a body out of place, as a restored one may be
  for (int i : {4, 0}) {
    Press(i, {300, 300});
    Release(i);
    EXPECT_FALSE(f.Shape2.Visible);
    EXPECT_EQ(f.Label10[i].BackColor, shell::kTimeBarColor);
  }
  EXPECT_EQ(QPoint(f.Label10[4].Left, f.Label10[4].Top), QPoint(left, bottom));
  EXPECT_EQ(QPoint(f.Label11[4].Left, f.Label11[4].Top), QPoint(left, bottom + 235));
  EXPECT_EQ(QPoint(f.Label10[0].Left, f.Label10[0].Top), QPoint(150, 420));
  EXPECT_EQ(QPoint(f.Label11[0].Left, f.Label11[0].Top), QPoint(150, 420 + 235));
}

TEST_F(NoteDrag, AVerdictMenuOpenedMidDragEndsTheDrag) {
  Press(0, {100, 100});
  MoveTo(0, {200, 200});
  f.Label10[0].MouseDown(platform::kRightButton, 0, 0, 0);  // the menu closes without a choice
  EXPECT_FALSE(f.Shape2.Visible);
  MoveTo(0, {300, 300});
  Release(0);
  EXPECT_EQ(QPoint(f.Label10[0].Left, f.Label10[0].Top), QPoint(150, 420));
  EXPECT_FALSE(f.Shape2.Visible);
}

}  // namespace
