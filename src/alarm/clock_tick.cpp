#include "alarm/clock_tick.h"

#include "alarm/alarm_window.h"
#include "shell/app.h"
#include "shell/clock_text.h"
#include "shell/events.h"
#include "shell/file_error.h"
#include "shell/paths.h"
#include "store/day_file.h"
#include "platform/files/file_ops.h"

#include <QDate>
#include <QDateTime>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace alarms {

namespace {

constexpr int kMsPerMinute = 60000;
constexpr int kTextLength = 15;  // what fits on one line of the alarm window

// What the clock remembers between its ticks.
struct Clock {
  // Second ticks until the clock has caught a whole minute; after that it
  // re-arms itself for each next minute.
  bool minuteTicks = false;
  // The minute searched last. Each minute of the day is searched once: a
  // timer that fires a little early does not search its minute again, and a
  // tick that comes late (a message box held it, the machine slept, the
  // clock was set forward) searches the minutes of today it missed.
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

int MinuteOfDay(const QTime& time) { return time.hour() * 60 + time.minute(); }

// The first minute of today that this tick has to search: the one after the
// minute searched last, or this minute itself when the last search was on an
// earlier day (then from midnight on) or the clock was set back.
int FirstUnsearched(const QDateTime& searched, const QDateTime& thisMinute) {
  if (searched.date() < thisMinute.date()) return 0;
  if (searched < thisMinute) return MinuteOfDay(searched.time()) + 1;
  return MinuteOfDay(thisMinute.time());
}

void SearchOnce(shell::App& app, Clock& clock, int firstMinute, int lastMinute) {
  try {
    SearchAlarms(app, firstMinute, lastMinute);
    clock.failedPath.clear();
  } catch (const platform::files::FileError& error) {
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
  // The minute the program started in was partly over: it counts as searched.
  if (!clock.searched.isValid() && !before.isEmpty()) {
    clock.searched = QDateTime(Today(app), QTime(app.NowHour.toInt(), app.NowMinute.toInt()));
  }

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
    const int first = FirstUnsearched(clock.searched, thisMinute);
    clock.searched = thisMinute;
    SearchOnce(app, clock, first, MinuteOfDay(thisMinute.time()));
  }
  // Measured after the search, which may have waited on a message box.
  f.Timer1.Interval = MsToNextMinute(app.platform.Now().time());
}

// The minute of the day a plan line's time field names, or -1 when it names
// none ("--:--", a marked line, anything but two digits, ":", two digits of
// a real time). The field is plain ASCII, and in code page 950 no byte of a
// two-byte character is a digit or ":", so the raw bytes can be read as they
// are; only a plan that is due gets decoded.
int AlarmMinute(const QByteArray& line) {
  if (line.size() < 5 || line[2] != ':') return -1;
  auto digit = [&](int i) { return line[i] >= '0' && line[i] <= '9' ? line[i] - '0' : -100; };
  const int hour = digit(0) * 10 + digit(1), minute = digit(3) * 10 + digit(4);
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return -1;
  return hour * 60 + minute;
}

}  // namespace

void SearchAlarms(shell::App& app, int firstMinute, int lastMinute) {
  const auto lines = store::ReadDayFile(shell::DayFilePath(app, app.TodayYear, app.TodayMonth, app.TodayDay));
  if (!lines) return;

  // The plans due, as (minute, line): the file is read once however many
  // minutes are searched.
  std::vector<std::pair<int, std::size_t>> due;
  // The first line is the day's note, never a plan.
  for (std::size_t i = 1; i < lines->size(); ++i) {
    const int minute = AlarmMinute((*lines)[i]);
    if (minute >= firstMinute && minute <= lastMinute) due.emplace_back(minute, i);
  }
  // Minute order, and file order within a minute.
  std::stable_sort(due.begin(), due.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

  for (std::size_t k = 0; k < due.size(); ++k) {
    const QString text = store::PlanText((*lines)[due[k].second]).left(kTextLength);
    if (k == 0) {
      RaiseAlarm(app, text);
      const QString sound = shell::SoundPath(app);
      if (platform::files::FileExists(sound)) app.platform.PlaySound(sound);
    } else {
      AddAlarmText(app, text);
    }
  }
}

void WireClock(shell::App& app) {
  auto clock = std::make_shared<Clock>();
  shell::On(app, app.form1.Timer1.Tick, [&app, clock] { Timer1_Timer(app, *clock); });
}

}  // namespace alarms
