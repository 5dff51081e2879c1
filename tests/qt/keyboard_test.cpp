// The keyboard reaches what the mouse reaches: the notes of the today page
// and the day cells of the calendar, with a visible focus mark, and their
// keys raise the events the mouse raises. Nothing out of sight takes the focus.

#include "qt_fixture.h"

#include "platform/qt/widgets.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>

namespace {

class Keyboard : public QtApp {
 protected:
  void SetUp() override {
    t.WriteLines("datas/2005/8/5.dat", {"晴", "06:30 晨跑", "--:-- 讀書", "21:00 寫日記"});
    QtApp::SetUp();
    window = adapter.WindowOf(f);
  }
  // A key as the user presses it: it goes to the widget with the focus.
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* to = QApplication::focusWidget();
    QTest::keyClick(to ? to : window, Qt::Key(key), modifiers);
  }
  static QString Focused() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
  }
  void TabTo(const QString& name) {
    for (int i = 0; i < 80 && Focused() != name; ++i) Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), name);
  }
  void ToCalendar() { adapter.ActionOf(f.MenuSetting)->trigger(); }

  QWidget* window = nullptr;
};

// The calendar's list lies under the today page: it must not take the Tab.
TEST_F(Keyboard, TabOnTheTodayPageGoesRoundTheShownNotesAlone) {
  QStringList reached;
  for (int i = 0; i < 6; ++i) {
    Press(Qt::Key_Tab);
    reached << Focused();
  }
  EXPECT_EQ(reached.mid(3), reached.mid(0, 3));
  QStringList once = reached.mid(0, 3);
  once.sort();
  EXPECT_EQ(once, QStringList({"Label10(0)", "Label10(1)", "Label10(2)"}));
}

TEST_F(Keyboard, ArrowKeysMoveAmongTheDayCellsOfTheMonth) {
  ToCalendar();
  TabTo("Label5(1)");  // 1 August 2005, a Monday
  const struct {
    int key;
    const char* focused;
  } moves[] = {{Qt::Key_Right, "Label5(2)"}, {Qt::Key_Down, "Label5(9)"},  {Qt::Key_Left, "Label5(8)"},
               {Qt::Key_Up, "Label5(1)"},    {Qt::Key_Left, "Label5(0)"},  {Qt::Key_Left, "Label5(0)"},
               {Qt::Key_Up, "Label5(0)"},    {Qt::Key_Down, "Label5(7)"},  {Qt::Key_Down, "Label5(14)"},
               {Qt::Key_Down, "Label5(21)"}, {Qt::Key_Down, "Label5(28)"},
               // A five-row month: the sixth row lies outside the window.
               {Qt::Key_Down, "Label5(28)"}};
  for (const auto& move : moves) {
    Press(move.key);
    EXPECT_EQ(Focused(), move.focused) << "after key " << move.key;
  }
}

TEST_F(Keyboard, EnterIsAClickAndASecondEnterTheDoubleClick) {
  ToCalendar();
  TabTo("Label5(1)");
  for (int i = 0; i < 4; ++i) Press(Qt::Key_Right);
  ASSERT_EQ(Focused(), "Label5(5)");

  Press(Qt::Key_Return);
  EXPECT_EQ(f.Label1.Caption, "今天的計畫行程");
  EXPECT_EQ(f.List1.ListCount(), 3);
  EXPECT_FALSE(f.List2.Visible);
  Press(Qt::Key_Return);
  EXPECT_TRUE(f.List2.Visible);
  EXPECT_TRUE(f.Text1.Visible);
  EXPECT_EQ(f.List2.ListCount(), 3);
  EXPECT_EQ(Focused(), "Label5(5)");
  Press(Qt::Key_Space);
  EXPECT_FALSE(f.List2.Visible);
  EXPECT_TRUE(f.List1.Visible);

  // A click of the mouse on another day comes between: the next Enter is a
  // click on the focused day again, not a double click that would open the
  // day the mouse picked.
  QTest::mouseClick(Widget(f.Label5[6]), Qt::LeftButton);
  EXPECT_EQ(f.Command1.Tag, "6");
  Press(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_FALSE(f.List2.Visible);
  EXPECT_EQ(f.Command1.Tag, "5");
}

// An arrow has no double click: each Enter is one more month.
TEST_F(Keyboard, EachEnterOnAMonthArrowStepsOneMonth) {
  ToCalendar();
  TabTo("Label4(1)");
  Press(Qt::Key_Return);
  Press(Qt::Key_Return);
  EXPECT_EQ(t.app.ShownMonth, 10);
}

class MenuKey : public Keyboard, public testing::WithParamInterface<std::pair<int, Qt::KeyboardModifiers>> {};

TEST_P(MenuKey, OpensTheVerdictMenuOfTheFocusedNote) {
  TabTo("Label10(1)");
  Press(GetParam().first, GetParam().second);
  ASSERT_EQ(t.platform.popups.size(), 1u);
  EXPECT_EQ(t.platform.popups[0], &f.PlansPop);
  EXPECT_EQ(f.Label12.Tag, "1");
}

INSTANTIATE_TEST_SUITE_P(Keys, MenuKey,
                         testing::Values(std::pair{int(Qt::Key_Menu), Qt::KeyboardModifiers(Qt::NoModifier)},
                                         std::pair{int(Qt::Key_F10), Qt::KeyboardModifiers(Qt::ShiftModifier)}));

// The real menu opens under the note, not at the mouse pointer, and is
// worked by the keyboard too.
TEST_F(Keyboard, AVerdictByTheKeyboardAlone) {
  QPoint menuAt, expected;
  t.platform.onPopup = [&](platform::Menu& menu) {
    QTimer::singleShot(50, [&] {
      auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(popup, nullptr);
      menuAt = popup->pos();
      QTest::keyClick(popup, Qt::Key_Down);
      QTest::keyClick(popup, Qt::Key_Down);
      QTest::keyClick(popup, Qt::Key_Return);
    });
    real.PopupMenu(menu);
  };
  TabTo("Label10(1)");
  QWidget* bar = Widget(f.Label10[1]);
  expected = bar->mapToGlobal(QPoint(0, bar->height()));
  QCursor::setPos(window->mapToGlobal(QPoint(400, 300)));
  Press(Qt::Key_Menu);
  EXPECT_EQ(menuAt, expected);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"),
            testsupport::Cp950Lines({"晴", "06:30 晨跑", "x--:-- 讀書", "21:00 寫日記"}));
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), testsupport::Cp950Lines({"讀書"}));
}

struct MarkCase {
  const char* name;
  platform::Control& (*control)(shell::Form1&);
  bool calendar;
};

class FocusMark : public Keyboard, public testing::WithParamInterface<MarkCase> {};

// The mark is drawn over the label; its colours stay as they were.
TEST_P(FocusMark, ShowsOnTheFocusedLabelInItsOwnColours) {
  if (GetParam().calendar) ToCalendar();
  const platform::Control& c = GetParam().control(f);
  QWidget* w = Widget(c);
  w->clearFocus();  // the window gives its first note the focus as it opens
  const QImage plain = w->grab().toImage();
  w->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(w->hasFocus());
  const QImage marked = w->grab().toImage();
  EXPECT_NE(marked, plain);
  const QPoint inside(w->width() - 5, w->height() - 5);
  const QColor colour = platform::qt::ToQColor(c.BackColor);
  EXPECT_EQ(plain.pixelColor(inside), colour);
  EXPECT_EQ(marked.pixelColor(inside), colour);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, FocusMark,
    testing::Values(MarkCase{"DayCell", [](shell::Form1& f) -> platform::Control& { return f.Label5[6]; }, true},
                    MarkCase{"Note", [](shell::Form1& f) -> platform::Control& { return f.Label10[0]; }, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
