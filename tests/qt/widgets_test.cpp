// The real widgets, driven as a user drives them, on the offscreen platform.

#include "qt_fixture.h"
#include "platform/files/codepage.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Widgets : public QtApp {
 protected:
  void Type(const platform::TextBox& box, const QString& text) {
    auto* edit = Widget<QLineEdit>(box);
    edit->setFocus();
    for (QChar ch : text) {
      if (ch.unicode() < 0x80) {
        QTest::keyClick(edit, ch.toLatin1());
      } else {  // what an input method's key delivers
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(edit, &key);
      }
    }
  }
};

TEST_F(Widgets, EachControlIsFoundByItsNameAndShowsItsModel) {
  QWidget* window = adapter.WindowOf(f);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Quendar  0.4.8");
  EXPECT_TRUE(window->isVisible());
  auto* cell = window->findChild<QLabel*>("Label5(9)");
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->accessibleDescription(), "Label5(9)");
  EXPECT_EQ(cell, adapter.WidgetOf(f.Label5[9]));
  EXPECT_EQ(Widget<QLabel>(f.Label8)->text(), "09:05");
  EXPECT_EQ(Widget<QPushButton>(f.Command2)->text(), "Add");
  EXPECT_EQ(Widget<QLineEdit>(f.Text4[0])->toolTip(), "鬧鈴的「時」");
  EXPECT_EQ(adapter.ActionOf(f.MenuView)->text(), "進度檢視");
}

TEST_F(Widgets, MenusSwitchBetweenTheTwoPages) {
  QWidget* page = Widget(f.Frame1);
  EXPECT_TRUE(page->isVisible());
  EXPECT_FALSE(adapter.ActionOf(f.MenuMain)->isEnabled());

  adapter.ActionOf(f.MenuSetting)->trigger();
  EXPECT_FALSE(page->isVisible());
  EXPECT_TRUE(Widget(f.List1)->isVisible());
  EXPECT_FALSE(adapter.ActionOf(f.MenuSetting)->isEnabled());
  EXPECT_TRUE(adapter.ActionOf(f.MenuMain)->isEnabled());

  adapter.ActionOf(f.MenuMain)->trigger();
  EXPECT_TRUE(page->isVisible());
  EXPECT_FALSE(adapter.ActionOf(f.MenuMain)->isEnabled());
}

TEST_F(Widgets, APlanTypedIntoTheEditorReachesItsDayFile) {
  adapter.ActionOf(f.MenuSetting)->trigger();
  // August 2005 starts on a Monday: the 5th is cell 5. Go away and back first.
  QTest::mouseClick(Widget(f.Label4[1]), Qt::LeftButton);
  EXPECT_EQ(Widget<QLabel>(f.Label2)->text(), "2005 年 9 月 ");
  QTest::mouseClick(Widget(f.Label4[0]), Qt::LeftButton);
  QWidget* cell = Widget(f.Label5[5]);
  // A double click as the window system delivers it: the second press comes
  // as a double click, and its release is no click of its own.
  QTest::mouseClick(cell, Qt::LeftButton);
  QTest::mousePress(cell, Qt::LeftButton);
  QTest::mouseDClick(cell, Qt::LeftButton);
  QTest::mouseRelease(cell, Qt::LeftButton);
  ASSERT_TRUE(Widget(f.Text1)->isVisible());
  EXPECT_FALSE(Widget(f.List1)->isVisible());

  Type(f.Text1, "寫'報\"告");  // quotes never get in
  Type(f.Text4[0], "9x");       // one digit, padded on leaving the box
  Type(f.Text4[1], "30");
  EXPECT_EQ(Widget<QLineEdit>(f.Text1)->text(), "寫報告");
  EXPECT_EQ(Widget<QLineEdit>(f.Text4[0])->text(), "09");
  QTest::mouseClick(Widget(f.Command2), Qt::LeftButton);

  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), "\r\n09:30 " + platform::files::Encode("寫報告") + "\r\n");
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), " 8\r\n");
  EXPECT_EQ(Widget<QLabel>(f.Label5[5])->text(), "5‧\n  1 項計畫");
  auto* list = Widget<QListWidget>(f.List2);
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), "1  寫報告");
  EXPECT_EQ(Widget<QLineEdit>(f.Text1)->text(), "");
  EXPECT_EQ(Widget<QLineEdit>(f.Text4[0])->text(), "");

  // Selecting the plan and pressing Del takes it away again, folders and all.
  list->setCurrentRow(0);
  QTest::mouseClick(Widget(f.Command1), Qt::LeftButton);
  EXPECT_FALSE(t.Exists("datas/2005"));
  EXPECT_EQ(Widget<QLabel>(f.Label5[5])->text(), "5‧");
}

// A character code page 950 cannot store is dropped where it was typed: the
// caret stays, and what follows lands after what came before.
struct DropCase {
  const char* name;
  bool note;          // Text3, the day's note; otherwise Text1, the plan text
  const char16_t* keys;  // "<" is the left arrow
  const char16_t* kept;
  int caret;
};

void PrintTo(const DropCase& c, std::ostream* out) { *out << c.name; }

class DroppedCharacters : public Widgets, public testing::WithParamInterface<DropCase> {};

TEST_P(DroppedCharacters, KeepTheCaretAndTheOrder) {
  const DropCase c = GetParam();
  OpenEditor(5);
  const platform::TextBox& box = c.note ? f.Text3 : f.Text1;
  auto* edit = Widget<QLineEdit>(box);
  edit->setFocus();
  const QString keys = QString::fromUtf16(c.keys);
  for (int i = 0; i < keys.size(); ++i) {
    if (keys[i] == u'<') {
      QTest::keyClick(edit, Qt::Key_Left);
      continue;
    }
    // One key per character, a character beyond 16 bits included.
    const int length = keys[i].isHighSurrogate() ? 2 : 1;
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, keys.mid(i, length));
    QApplication::sendEvent(edit, &key);
    i += length - 1;
  }
  EXPECT_EQ(edit->text(), QString::fromUtf16(c.kept));
  EXPECT_EQ(box.Text(), QString::fromUtf16(c.kept));
  EXPECT_EQ(edit->cursorPosition(), c.caret);
}

INSTANTIATE_TEST_SUITE_P(
    Cp950, DroppedCharacters,
    testing::Values(DropCase{"Plan", false, u"abcédef", u"abcdef", 6}, DropCase{"Note", true, u"Noéel", u"Noel", 4},
                    DropCase{"Ideographs", false, u"简体们😀測試", u"体測試", 3},
                    DropCase{"MidText", false, u"ab<Xéy", u"aXyb", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Widgets, APlanWithADroppedCharacterIsStoredInTypedOrder) {
  OpenEditor(5);
  Type(f.Text1, "abcédef");
  QTest::mouseClick(Widget(f.Command2), Qt::LeftButton);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), "\r\n--:-- abcdef\r\n");
}

TEST_F(Widgets, TheDayCellUnderThePointerTurnsWhite) {
  adapter.ActionOf(f.MenuSetting)->trigger();
  QTest::mouseMove(Widget(f.Label5[9]));
  QTest::mouseMove(Widget(f.Label5[10]));
  const QColor white(255, 255, 255);
  EXPECT_EQ(Widget(f.Label5[10])->palette().color(QPalette::Window), white);
  EXPECT_EQ(Widget(f.Label5[9])->palette().color(QPalette::Window), QColor(223, 246, 253));
}

}  // namespace
