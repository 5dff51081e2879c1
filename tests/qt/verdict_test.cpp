// A verdict and a drag through the real widgets, with the real pop-up menu
// and the real message box, answered as a user answers them.

#include "app/wiring.h"
#include "shell/app.h"
#include "shell/settings_file.h"
#include "shell/startup.h"
#include "test_app.h"
#include "platform/qt/qt_adapter.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using testsupport::Cp950Lines;

namespace {

// The Qt platform on a fixed day, never meeting another running copy.
class DayPlatform : public platform::qt::QtPlatform {
 public:
  QDateTime Now() override { return {QDate(2005, 8, 5), QTime(9, 5)}; }
  bool AnotherCopyRunning() override { return false; }
};

// Polls until act() reports that it found what it waited for.
void WhenShown(std::function<bool()> act) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (act()) timer->deleteLater();
  });
  timer->start();
}

class VerdictWidgets : public testing::Test {
 protected:
  void SetUp() override {
    Write("Quendar.ini", shell::InitialSettingsBytes());
    Write("datas/2005/8/5.dat", Cp950Lines({"晴", "06:30 晨跑", "--:-- 讀書", "21:00 寫日記"}));
    app::Wire(app);
    platform.windowOf = [this](const platform::Form& form) { return adapter.WindowOf(form); };
    bool started = false;
    adapter.Dispatch([&] { started = shell::Start(app); });
    ASSERT_TRUE(started);
    window = adapter.WindowOf(app.form1);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }
  void Write(const QString& relative, const QByteArray& bytes) {
    const QString path = dir.path() + '/' + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray Read(const QString& relative) {
    QFile file(dir.path() + '/' + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QWidget* Widget(const platform::Control& c) { return adapter.WidgetOf(c); }

  QTemporaryDir dir;
  DayPlatform platform;
  shell::App app{platform, dir.path()};
  platform::qt::QtAdapter adapter{app};
  QWidget* window = nullptr;
};

TEST_F(VerdictWidgets, ARightClickPicksTheVerdictAndTheBoxConfirmsIt) {
  QStringList menuItems;
  WhenShown([&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return false;
    for (QAction* action : menu->actions()) menuItems << (action->isSeparator() ? "-" : action->text());
    QAction* notDone = menu->actions().value(2);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(notDone).center());
    return true;
  });
  QString title, text;
  bool yesIsDefault = false;
  WhenShown([&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return false;
    title = box->windowTitle();
    text = box->text();
    yesIsDefault = box->defaultButton() == box->button(QMessageBox::Yes) && box->button(QMessageBox::No);
    QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
    return true;
  });
  QTest::mouseClick(Widget(app.form1.Label11[1]), Qt::RightButton);

  EXPECT_EQ(menuItems, QStringList({"此計畫完成", "-", "列為未完成"}));
  EXPECT_EQ(title, "Quendar 再確認");
  EXPECT_EQ(text, "確定此計畫要定義為「未完成」？");
  EXPECT_TRUE(yesIsDefault);
  EXPECT_EQ(Read("datas/2005/8/5.dat"), Cp950Lines({"晴", "06:30 晨跑", "x--:-- 讀書", "21:00 寫日記"}));
  EXPECT_EQ(Read("datas/quendar.qdr"), QByteArray("\1\0\0\0", 4));
  EXPECT_EQ(Read("datas/quendar.dat"), Cp950Lines({"讀書"}));
  EXPECT_FALSE(Widget(app.form1.Label10[1])->isVisible());
  EXPECT_FALSE(Widget(app.form1.Label11[1])->isVisible());
  EXPECT_TRUE(Widget(app.form1.Label10[2])->isVisible());
}

TEST_F(VerdictWidgets, TheOutlineFollowsThePointerAndTheNoteDropsThere) {
  QWidget* bar = Widget(app.form1.Label10[0]);
  QWidget* outline = Widget(app.form1.Shape2);
  const QPoint grip(20, 8);
  const QPoint start = bar->mapToGlobal(grip);
  const QPoint before = bar->pos();

  QCursor::setPos(start);
  QTest::mousePress(bar, Qt::LeftButton, {}, grip);
  EXPECT_TRUE(outline->isVisible());
  EXPECT_EQ(bar->palette().color(QPalette::Window), QColor(240, 240, 240));

  QCursor::setPos(start + QPoint(40, 30));
  QTest::mouseMove(bar, grip + QPoint(40, 30));
  EXPECT_EQ(outline->pos(), before + QPoint(40, 30));
  EXPECT_EQ(bar->pos(), before);

  QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(40, 30));
  EXPECT_FALSE(outline->isVisible());
  EXPECT_EQ(bar->pos(), before + QPoint(40, 30));
  EXPECT_EQ(Widget(app.form1.Label11[0])->pos(), bar->pos() + QPoint(0, 235 / 15));
  EXPECT_EQ(bar->palette().color(QPalette::Window), QColor(136, 212, 234));
}

}  // namespace
