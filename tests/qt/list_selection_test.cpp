// What a list reports as selected is what the user chose: a list that only
// took the keyboard focus, by Tab or by its window becoming active, has
// nothing selected, so Del and "刪除記錄" delete nothing.

#include "qt_fixture.h"
#include "platform/files/file_ops.h"

#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace {

class ListSelection : public QtApp {
 protected:
  void SetUp() override {
    t.WriteLines("datas/2005/8/5.dat", {"", "08:30 晨跑", "--:-- 讀書"});
    t.WriteLines("datas/2005/month.qdr", {" 8"});
    t.WriteBytes("datas/quendar.qdr", platform::files::Int16Bytes(2) + platform::files::Int16Bytes(1));
    t.WriteLines("datas/quendar.dat", {"寫報告", "買牛奶"});
    QtApp::SetUp();
  }

  // Tab from wherever the focus is until it reaches the list.
  static void TabInto(QWidget* list) {
    for (int i = 0; i < 30 && QApplication::focusWidget() != list; ++i) {
      QWidget* from = QApplication::focusWidget() ? QApplication::focusWidget() : list->window();
      QTest::keyClick(from, Qt::Key_Tab);
    }
    ASSERT_EQ(QApplication::focusWidget(), list);
  }

  void Click(const platform::Control& button) { QTest::mouseClick(Widget<QPushButton>(button), Qt::LeftButton); }
};

TEST_F(ListSelection, DelTakesOnlyThePlanTheUserSelected) {
  OpenEditor(5);
  auto* list = Widget<QListWidget>(f.List2);
  const QByteArray day = t.ReadBytes("datas/2005/8/5.dat");
  TabInto(list);
  EXPECT_EQ(f.List2.ListIndex, -1);
  Click(f.Command1);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), day);

  // The first Down chooses the first plan, not the second.
  list->setFocus(Qt::TabFocusReason);
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(f.List2.ListIndex, 0);
  EXPECT_TRUE(list->item(0)->isSelected());
  Click(f.Command1);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), testsupport::Cp950Lines({"", "--:-- 讀書"}));

  // The refilled list has the focus again, and nothing selected.
  list->setFocus(Qt::TabFocusReason);
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(f.List2.ListIndex, -1);
  EXPECT_TRUE(list->selectedItems().isEmpty());
  Click(f.Command1);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), testsupport::Cp950Lines({"", "--:-- 讀書"}));
}

TEST_F(ListSelection, ASummaryThatBecomesActiveHasNoRecordSelected) {
  const QByteArray history = t.ReadBytes("datas/quendar.dat");
  adapter.ActionOf(f.MenuView)->trigger();
  shell::Form3& summary = t.app.GetForm3();
  QWidget* window = adapter.WindowOf(summary);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  // Becoming active puts the focus into the list, its first focusable control.
  auto* list = Widget<QListWidget>(summary.List1);
  ASSERT_EQ(QApplication::focusWidget(), list);
  EXPECT_EQ(summary.List1.ListIndex, -1);
  Click(summary.Command1);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), history);

  list->setFocus(Qt::TabFocusReason);
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(summary.List1.ListIndex, 0);
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(summary.List1.ListIndex, 1);
  Click(summary.Command1);
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), testsupport::Cp950Lines({"寫報告"}));
  EXPECT_EQ(summary.List1.ListIndex, -1);
}

// What the screen shows of a refilled list is the list as it now is: rows
// of the old items must not stay where the view did not repaint.
TEST_F(ListSelection, ARefilledListIsShownWhole) {
  t.WriteLines("datas/quendar.dat", {"R1", "R2", "R3", "R4", "R5", "R6"});
  adapter.ActionOf(f.MenuView)->trigger();
  shell::Form3& summary = t.app.GetForm3();
  QWidget* window = adapter.WindowOf(summary);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  auto* list = Widget<QListWidget>(summary.List1);
  QTest::qWait(50);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
  QTest::qWait(50);
  Click(summary.Command1);
  ASSERT_EQ(list->count(), 5);
  QTest::qWait(100);
  const QPoint at = list->viewport()->mapTo(window, QPoint(0, 0));
  const QImage shown = window->screen()
                           ->grabWindow(window->winId(), at.x(), at.y(), list->viewport()->width(),
                                        list->viewport()->height())
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
  const QImage drawn = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, drawn);
}

}  // namespace
