#include "alarm/clock_tick.h"

#include "alarm/alarm_window.h"
#include "shell/app.h"
#include "shell/clock_text.h"
#include "shell/events.h"
#include "shell/file_error.h"
#include "shell/paths.h"
#include "store/day_file.h"
#include "ui/files/file_ops.h"

#include <QDate>
#include <QDateTime>

#include <memory>

namespace alarms {

namespace {

constexpr int kMsPerMinute = 60000;
constexpr int kTextLength = 15;  // what fits on one line of the alarm window

// What the clock remembers between its ticks.
struct Clock {
  // Second ticks until the clock has caught a whole minute; after that it
  // re-arms itself for each next minute.
  bool minuteTicks = false;
  // The minute searched last: a timer that fires a little early must not
  // search the same minute twice.
  QDateTime searched;
  // A day file that cannot be read is reported once, not once a minute.
  QString failedPath;
};

// Milliseconds from this moment to the next whole minute: 1 to 60000.
int MsToNextMinute(const QTime& time) {
  return kMsPerMinute - (time.second() * 1000 + time.msec());
}

QDate Today(const shell::App& app) { return QDate(app.TodayYear, app.TodayMonth, app.TodayDay); }

// The day changes whenever a tick finds another date than the one kept, so a
// machine that slept over midnight follows the real day on waking.
void RollOver(shell::App& app, const QDate& date) {
  if (date == Today(app)) return;
  app.TodayYear = std::int16_t(date.year());
  app.TodayMonth = std::int16_t(date.month());
  app.TodayDay = std::int16_t(date.day());
  app.form1.Label7.Caption = shell::DateLine(date);
}

void SearchOnce(shell::App& app, Clock& clock) {
  try {
    SearchAlarms(app);
    clock.failedPath.clear();
  } catch (const ui::files::FileError& error) {
    if (error.path == clock.failedPath) return;
    clock.failedPath = error.path;
    shell::ReportFileError(app, error);
  }
}

void Timer1_Timer(shell::App& app, Clock& clock) {
  shell::Form1& f = app.form1;
  const QDateTime now = app.platform.Now();
  // The minute the clock showed before this tick (none before start-up).
  const QString before = app.NowHour.isEmpty() ? QString() : app.NowHour + ":" + app.NowMinute;

  shell::SetNowTexts(app, now.time());
  RollOver(app, now.date());
  const QString minute = app.NowHour + ":" + app.NowMinute;
  f.Label8.Caption = minute;

  if (!clock.minuteTicks) {
    // Second 00 is the usual catch; a second tick that jumped over it still
    // starts the minute ticks as soon as the minute on the clock has moved.
    const bool minuteMoved = !before.isEmpty() && before != minute;
    if (app.NowSecond != "00" && !minuteMoved) return;
    clock.minuteTicks = true;
  }

  const QDateTime thisMinute(now.date(), QTime(now.time().hour(), now.time().minute()));
  if (thisMinute != clock.searched) {
    clock.searched = thisMinute;
    SearchOnce(app, clock);
  }
  // Measured after the search, which may have waited on a message box.
  f.Timer1.Interval = MsToNextMinute(app.platform.Now().time());
}

}  // namespace

void SearchAlarms(shell::App& app) {
  const auto lines = store::ReadDayFile(shell::DayFilePath(app, app.TodayYear, app.TodayMonth, app.TodayDay));
  if (!lines) return;

  // The time field is plain ASCII, and in code page 950 no byte of a
  // two-byte character is a digit or ":", so comparing the raw bytes is the
  // same as comparing the first five characters; only a match is decoded.
  const QByteArray time = (app.NowHour + ":" + app.NowMinute).toLatin1();

  int raised = 0;
  // The first line is the day's note, never a plan.
  for (std::size_t i = 1; i < lines->size(); ++i) {
    if (!(*lines)[i].startsWith(time)) continue;
    const QString text = store::PlanText((*lines)[i]).left(kTextLength);
    if (raised == 0) {
      RaiseAlarm(app, text);
      const QString sound = shell::SoundPath(app);
      if (ui::files::FileExists(sound)) app.platform.PlaySound(sound);
    } else {
      AddAlarmText(app, text);
    }
    ++raised;
  }
}

void WireClock(shell::App& app) {
  auto clock = std::make_shared<Clock>();
  shell::On(app, app.form1.Timer1.Tick, [&app, clock] { Timer1_Timer(app, *clock); });
}

}  // namespace alarms
