#pragma once
// A started App drawn by the real widgets, and its message boxes shown as
// real modal boxes when a test asks for them.

#include "test_app.h"
#include "platform/qt/qt_adapter.h"
#include "platform/qt/qt_platform.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

class QtApp : public testing::Test {
 protected:
  void SetUp() override {
    adapter.Dispatch([&] { started = t.Start(); });
    ASSERT_TRUE(started);
    // Focus moves only inside the active window.
    QWidget* window = adapter.WindowOf(t.app.form1);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }

  template <typename W = QWidget>
  W* Widget(const platform::Control& c) {
    auto* w = qobject_cast<W*>(adapter.WidgetOf(c));
    EXPECT_NE(w, nullptr) << c.Name.toStdString();
    return w;
  }

  // Clicks and double-clicks a day cell on the calendar page, as the window
  // system delivers a double click, to open that day in the editor.
  void OpenEditor(int cell) {
    adapter.ActionOf(f.MenuSetting)->trigger();
    QWidget* label = Widget(f.Label5[cell]);
    QTest::mouseClick(label, Qt::LeftButton);
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mouseDClick(label, Qt::LeftButton);
    QTest::mouseRelease(label, Qt::LeftButton);
    ASSERT_TRUE(Widget(f.List2)->isVisible());
  }

  // From now on every message box of the logic is a real modal box, which
  // takes the focus and holds the events of its window; it is answered
  // after `openMs`, running `whileOpen` just before.
  void UseRealBoxes(int openMs, std::function<void()> whileOpen = {}) {
    t.platform.onMessage = [this, openMs, whileOpen](const testsupport::ShownMessage& m) {
      QTimer::singleShot(openMs, [this, whileOpen] {
        if (whileOpen) whileOpen();
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no modal box open";
        ++realBoxes;
        box->accept();
      });
      real.MsgBox(m.text, m.buttons, m.title);
    };
  }

  testsupport::TestApp t;
  platform::qt::QtAdapter adapter{t.app};
  platform::qt::QtPlatform real;
  shell::Form1& f = t.app.form1;
  bool started = false;
  int realBoxes = 0;
};
