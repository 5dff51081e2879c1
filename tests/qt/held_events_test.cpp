// Events that arrive while a message box is open or another event runs: the
// box holds only its own window's events, a held timer keeps one tick, and
// nothing queued outlives the window it belongs to.

#include "alarm/alarm_window.h"
#include "qt_fixture.h"
#include "platform/platform.h"

namespace {

class HeldEvents : public QtApp {
 protected:
  void RaiseAlarm() {
    adapter.Dispatch([&] { alarms::RaiseAlarm(t.app, "Call the bank"); });
    ASSERT_TRUE(t.app.Form2Loaded());
  }
  // A box of the main window, open for `ms`.
  void BoxOfTheMainWindow(int ms, std::function<void()> whileOpen = {}) {
    UseRealBoxes(ms, std::move(whileOpen));
    adapter.Dispatch([&] { t.app.platform.MsgBox("held", platform::Buttons::OK, "Quendar"); });
    ASSERT_EQ(realBoxes, 1);
  }
};

TEST_F(HeldEvents, TheAlarmWindowRunsOnWhileABoxOfTheMainWindowIsOpen) {
  RaiseAlarm();
  const int start = t.app.GetForm2().Top;
  QWidget* alarmWindow = adapter.WindowOf(t.app.GetForm2());
  int topDuringBox = 0, drawnDuringBox = 0;
  BoxOfTheMainWindow(600, [&] {
    topDuringBox = t.app.GetForm2().Top;
    drawnDuringBox = alarmWindow->y();
  });
  // Twelve 50-ms ticks fit in the box's time; allow for a slow machine.
  EXPECT_LE(topDuringBox, start - 400);
  EXPECT_EQ(drawnDuringBox, topDuringBox / platform::kTwipsPerPixel);
}

TEST_F(HeldEvents, AHeldTimerKeepsOneTick) {
  int ticks = 0;
  adapter.Dispatch([&] {
    f.Timer1.Tick.handler = [&] { ++ticks; };
    f.Timer1.Interval = 20;
  });
  int ticksBeforeClose = 0;
  BoxOfTheMainWindow(400, [&] { ticksBeforeClose = ticks; });
  EXPECT_EQ(ticksBeforeClose, 0);
  EXPECT_EQ(ticks, 1);
}

TEST_F(HeldEvents, TicksOfAnUnloadedAlarmWindowAreDropped) {
  RaiseAlarm();
  shell::Form2& old = t.app.GetForm2();
  int staleTicks = 0;
  // The close box unloads the alarm window; its timer goes on firing until
  // the event is over, and those ticks wait behind it.
  adapter.Dispatch([&] {
    old.Label3.Click();
    old.Timer1.Tick.handler = [&] { ++staleTicks; };
    QTest::qWait(200);
  });
  EXPECT_EQ(staleTicks, 0);
  EXPECT_FALSE(t.app.Form2Loaded());

  RaiseAlarm();
  EXPECT_EQ(t.app.GetForm2().Top, t.app.platform.ScreenTwips().bottom() + 1);
  EXPECT_NE(adapter.WindowOf(t.app.GetForm2()), nullptr);
}

}  // namespace
