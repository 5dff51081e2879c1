// The alarm time boxes as the user meets them: a range message is a real
// modal box that takes the focus, and editing keys are no typed characters.

#include "qt_fixture.h"

#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

class FocusKeys : public QtApp {
 protected:
  void SetUp() override {
    QtApp::SetUp();
    // A day opened for editing shows the alarm time boxes.
    OpenEditor(5);
    ASSERT_TRUE(Widget(f.Text4[0])->isVisible());
  }
  QLineEdit* Box(int index) { return Widget<QLineEdit>(f.Text4[index]); }
  void Type(int index, const QString& keys) {
    Box(index)->setFocus();
    for (QChar ch : keys) QTest::keyClick(Box(index), ch.toLatin1());
  }
  // A key as X11 delivers it, with the character it carries.
  void Press(int index, int key, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(Box(index), &event);
  }
};

struct RangeCase {
  int box;
  const char* keys;
  const char* left;
  int messages;
};

class RangeMessages : public FocusKeys, public testing::WithParamInterface<RangeCase> {};

// The message box takes the focus from the box; that is no leaving of it,
// so the box keeps its last accepted text unpadded.
TEST_P(RangeMessages, AreRealBoxesAndNoLeavingOfTheBox) {
  const RangeCase c = GetParam();
  UseRealBoxes(50);
  Type(c.box, c.keys);
  EXPECT_EQ(realBoxes, c.messages);
  EXPECT_EQ(Box(c.box)->text(), c.left);
  EXPECT_EQ(f.Text4[c.box].Text(), c.left);
}

INSTANTIATE_TEST_SUITE_P(Text4, RangeMessages,
                         testing::Values(RangeCase{0, "25", "2", 1}, RangeCase{1, "60", "6", 1},
                                         RangeCase{1, "609", "6", 2}));

TEST_F(FocusKeys, MovingToAnotherControlStillPads) {
  Type(0, "8");
  Box(1)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(Box(0)->text(), "08");
}

TEST_F(FocusKeys, HomeThenDeleteDeletesTheFirstDigit) {
  Type(0, "02");
  Press(0, Qt::Key_Home, QString());
  Press(0, Qt::Key_Delete, QString(QChar(127)));
  EXPECT_EQ(Box(0)->text(), "2");
  EXPECT_EQ(f.Text4[0].Text(), "2");
  Press(0, Qt::Key_Right, QString());
  Press(0, Qt::Key_Left, QString());
  Press(0, Qt::Key_Delete, QString(QChar(127)));
  EXPECT_EQ(Box(0)->text(), "");
}

TEST_F(FocusKeys, ControlCharactersStayDiscarded) {
  Type(0, "1");
  QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
  QApplication::clipboard()->setText("3");
  QApplication::sendEvent(Box(0), &paste);
  EXPECT_EQ(Box(0)->text(), "1");
}

// A note longer than a line edit holds by default is typed on and saved whole.
TEST_F(FocusKeys, TypingOnAVeryLongNoteKeepsAllOfIt) {
  const QString note(40000, QChar(u'記'));
  t.WriteLines("datas/2005/8/5.dat", {note});
  QWidget* cell = Widget(f.Label5[5]);
  QTest::mousePress(cell, Qt::LeftButton);
  QTest::mouseDClick(cell, Qt::LeftButton);
  QTest::mouseRelease(cell, Qt::LeftButton);
  auto* edit = Widget<QLineEdit>(f.Text3);
  edit->setFocus();
  edit->end(false);
  QTest::keyClick(edit, 'x');
  QTest::mouseClick(Widget(f.Command3), Qt::LeftButton);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), testsupport::Cp950Lines({note + "x"}));
}

}  // namespace
