// The summary through the real widgets: from "進度檢視" on the main window
// to a deleted record and back with "主畫面".

#include "test_app.h"
#include "platform/files/file_ops.h"
#include "platform/qt/qt_adapter.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(SummaryWidgets, FromProgressViewToTheMainScreen) {
  testsupport::TestApp t;
  t.WriteBytes("datas/quendar.qdr", platform::files::Int16Bytes(29) + platform::files::Int16Bytes(71));
  t.WriteLines("datas/quendar.dat", {"寫報告", "買牛奶", "回覆信件"});
  platform::qt::QtAdapter adapter{t.app};
  bool started = false;
  adapter.Dispatch([&] { started = t.Start(); });
  ASSERT_TRUE(started);
  shell::Form1& form1 = t.app.form1;
  QWidget* main = adapter.WindowOf(form1);
  adapter.Dispatch([&] { form1.Left = 1500; form1.Top = 1200; });
  ASSERT_TRUE(QTest::qWaitForWindowExposed(main));

  adapter.ActionOf(form1.MenuView)->trigger();
  ASSERT_TRUE(t.app.Form3Loaded());
  shell::Form3& f = t.app.GetForm3();
  QWidget* summary = adapter.WindowOf(f);
  ASSERT_NE(summary, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(summary));
  EXPECT_FALSE(main->isVisible());
  EXPECT_EQ(summary->windowTitle(), "Quendar  0.4.8 - Summary");
  EXPECT_EQ(summary->geometry().topLeft(), QPoint(100, 80));

  auto label = [&](const platform::Control& c) { return qobject_cast<QLabel*>(adapter.WidgetOf(c)); };
  EXPECT_EQ(label(f.Label3)->text(), "28%");
  EXPECT_EQ(label(f.Label4)->text(), "72%");
  EXPECT_EQ(label(f.Label6)->text(), "目前執行力: D");
  EXPECT_EQ(label(f.Label6)->toolTip(), "普普通通");
  EXPECT_TRUE(label(f.Label5)->wordWrap());
  // The bars stand on their tracks, the not-done one 28% of it long.
  EXPECT_EQ(adapter.WidgetOf(f.Shape3)->width(), 1650 / 15);
  EXPECT_EQ(adapter.WidgetOf(f.Shape3)->x(), adapter.WidgetOf(f.Shape1)->x());

  auto* list = qobject_cast<QListWidget*>(adapter.WidgetOf(f.List1));
  ASSERT_EQ(list->count(), 3);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(f.List1.ListIndex, 1);
  QTest::mouseClick(qobject_cast<QPushButton*>(adapter.WidgetOf(f.Command1)), Qt::LeftButton);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(1)->text(), "2 回覆信件");
  EXPECT_EQ(t.ReadBytes("datas/quendar.dat"), testsupport::Cp950Lines({"寫報告", "回覆信件"}));

  adapter.Dispatch([&] { f.Left = 3000; f.Top = 1500; });
  adapter.ActionOf(f.Menu_Back1)->trigger();
  EXPECT_FALSE(t.app.Form3Loaded());
  EXPECT_EQ(adapter.WindowOf(f), nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
  EXPECT_EQ(main->geometry().topLeft(), QPoint(200, 100));
  EXPECT_TRUE(adapter.WidgetOf(form1.Frame1)->isVisible());
  EXPECT_FALSE(adapter.ActionOf(form1.MenuMain)->isEnabled());
}

}  // namespace
