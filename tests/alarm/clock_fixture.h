#pragma once
// A started program on a settable clock, for the clock and alarm-window tests.

#include "shell/app.h"
#include "test_app.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <gtest/gtest.h>

namespace alarmtest {

inline QDate Day() { return QDate(2005, 8, 5); }  // a Friday
inline QString DayFile() { return "datas/2005/8/5.dat"; }

class ClockTest : public ::testing::Test {
 protected:
  void StartAt(const QDateTime& when) {
    t.platform.now = when;
    ASSERT_TRUE(t.Start());
  }
  void StartAt(const QTime& time) { StartAt(QDateTime(Day(), time)); }

  // One tick of the main window's clock at the given moment.
  void TickAt(const QDateTime& when) {
    t.platform.now = when;
    t.app.form1.Timer1.Tick();
  }
  void TickAt(const QTime& time) { TickAt(QDateTime(Day(), time)); }

  // The alarm window's text, or "<none>" while it is not loaded.
  QString AlarmText() { return t.app.Form2Loaded() ? t.app.GetForm2().Label2.Caption : "<none>"; }

  testsupport::TestApp t;
};

}  // namespace alarmtest
