// The windows as the window system and tools meet them: who drives the
// alarm window's place, the exit while it is up, the lists' scroll bars and
// the names of the menus.

#include "alarm/alarm_window.h"
#include "qt_fixture.h"

#include <QAccessible>
#include <QAction>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

namespace {

class Windows : public QtApp {
 protected:
  shell::Form2& RaiseAlarm() {
    adapter.Dispatch([&] { alarms::RaiseAlarm(t.app, "Call the bank"); });
    return t.app.GetForm2();
  }
};

TEST_F(Windows, OnlyTheMainWindowsMovesReachItsModel) {
  shell::Form2& alarm = RaiseAlarm();
  const int top = alarm.Top, left = alarm.Left;
  // Where a window manager puts the alarm window is not where the model has it.
  adapter.WindowOf(alarm)->move(12, 34);
  EXPECT_EQ(alarm.Top, top);
  EXPECT_EQ(alarm.Left, left);
  // The main window's place is its client area's, which a frame moves along.
  QWidget* main = adapter.WindowOf(f);
  main->move(30, 40);
  EXPECT_EQ(f.Left, main->geometry().x() * platform::kTwipsPerPixel);
  EXPECT_EQ(f.Top, main->geometry().y() * platform::kTwipsPerPixel);
}

TEST_F(Windows, ExitEndsTheProgramWhileTheAlarmWindowIsUp) {
  RaiseAlarm();
  t.app.EndProgram = platform::qt::EndProgram;
  QTimer::singleShot(0, [&] { adapter.ActionOf(f.MenuExit)->trigger(); });
  // An exit that something refused ends here, with another status.
  QTimer refused;
  refused.setSingleShot(true);
  QObject::connect(&refused, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  refused.start(3000);
  EXPECT_EQ(QApplication::exec(), 0);
}

// The summary stands where the main window stood, the screen's corner too,
// and "主畫面" puts the main window back there.
TEST_F(Windows, TheSummaryTakesTheMainWindowsPlaceAlsoInTheCorner) {
  QWidget* main = adapter.WindowOf(f);
  adapter.Dispatch([&] {
    f.Left = 0;
    f.Top = 0;
    f.MenuView.Click();
  });
  QWidget* window = adapter.WindowOf(t.app.GetForm3());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(0, 0));
  adapter.ActionOf(t.app.GetForm3().Menu_Back1)->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
  EXPECT_EQ(main->frameGeometry().topLeft(), QPoint(0, 0));
}

// Every framed box of the summary keeps all four border lines at the usual
// scale factors: a line on a widget's very edge falls between device
// pixels where the widget starts at a fractional device pixel.
class FramedBoxes : public Windows, public testing::WithParamInterface<double> {};

TEST_P(FramedBoxes, AreWholeAtEveryScale) {
  const double scale = GetParam();
  adapter.ActionOf(f.MenuView)->trigger();
  shell::Form3& summary = t.app.GetForm3();
  QWidget* window = adapter.WindowOf(summary);
  QImage image(window->size() * scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::white);
  window->render(&image);
  const QColor border(0, 0, 0);
  // The first border pixel met going from outside the box towards its middle.
  auto firstBorder = [&](QPoint from, QPoint step) {
    for (QPoint p = from; image.rect().contains(p); p += step) {
      if (image.pixelColor(p) == border) return p;
    }
    return QPoint(-1, -1);
  };
  for (const platform::Shape* shape : {&summary.Shape5, &summary.Shape6}) {
    QWidget* w = adapter.WidgetOf(*shape);
    const QRectF box(QPointF(w->mapTo(window, QPoint(0, 0))) * scale, QSizeF(w->size()) * scale);
    const int midX = int(box.center().x()), midY = int(box.center().y());
    const std::string name = shape->Name.toStdString() + " at " + std::to_string(scale);
    EXPECT_LE(firstBorder({midX, int(box.top()) - 2}, {0, 1}).y(), box.top() + 1) << name << " top";
    EXPECT_GE(firstBorder({midX, int(box.bottom()) + 2}, {0, -1}).y(), box.bottom() - 2) << name << " bottom";
    EXPECT_LE(firstBorder({int(box.left()) - 2, midY}, {1, 0}).x(), box.left() + 1) << name << " left";
    EXPECT_GE(firstBorder({int(box.right()) + 2, midY}, {-1, 0}).x(), box.right() - 2) << name << " right";
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, FramedBoxes, testing::Values(1.0, 1.25, 1.5, 2.0));

TEST_F(Windows, ListsCutLongItemsAndKeepTheirRows) {
  adapter.ActionOf(f.MenuSetting)->trigger();
  adapter.Dispatch([&] {
    f.List1.Clear();
    for (int i = 0; i < 3; ++i) f.List1.AddItem(QString("%1  ").arg(i + 1) + QString(80, QChar(0x8A08)));
  });
  auto* list = Widget<QListWidget>(f.List1);
  QTest::qWait(20);
  EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(list->visualItemRect(list->item(2)).bottom() < list->viewport()->height())
      << "row height " << list->sizeHintForRow(0) << " in a viewport of " << list->viewport()->height();
}

TEST_F(Windows, MenusCarryTheirControlNames) {
  auto* window = qobject_cast<QMainWindow*>(adapter.WindowOf(f));
  QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(window->menuBar());
  ASSERT_NE(bar, nullptr);
  QStringList names, descriptions;
  for (int i = 0; i < bar->childCount(); ++i) {
    names.append(bar->child(i)->text(QAccessible::Name));
    descriptions.append(bar->child(i)->text(QAccessible::Description));
  }
  EXPECT_EQ(names, QStringList({"主畫面", "行程排定", "進度檢視", "結束程式"}));
  EXPECT_EQ(descriptions, QStringList({"MenuMain", "MenuSetting", "MenuView", "MenuExit"}));
  EXPECT_EQ(bar->child(3)->role(), QAccessible::MenuItem);
}

}  // namespace
