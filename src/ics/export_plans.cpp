#include "ics/export_plans.h"

#include "ics/calendar_file.h"
#include "shell/paths.h"
#include "store/day_file.h"
#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <libical/ical.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace ics {

namespace files = platform::files;

namespace {

icaltimetype DateOf(QDate day) {
  icaltimetype t = icaltime_null_date();
  t.year = day.year();
  t.month = day.month();
  t.day = day.day();
  return t;
}

icalcomponent* AllDayEvent(QDate day, const QString& uid, const QString& text) {
  icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
  icalcomponent_add_property(event, icalproperty_new_uid(uid.toUtf8().constData()));
  icalcomponent_add_property(event, icalproperty_new_dtstart(DateOf(day)));
  icalcomponent_add_property(event, icalproperty_new_dtend(DateOf(day.addDays(1))));
  icalcomponent_add_property(event, icalproperty_new_summary(text.toUtf8().constData()));
  return event;
}

// A planned time rings in the planner wherever the machine is: floating time.
icalcomponent* TimedEvent(QDate day, int hour, int minute, const QString& uid, const QString& text) {
  icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
  icaltimetype start = DateOf(day);
  start.is_date = 0;
  start.hour = hour;
  start.minute = minute;
  start.second = 0;
  icalcomponent_add_property(event, icalproperty_new_uid(uid.toUtf8().constData()));
  icalcomponent_add_property(event, icalproperty_new_dtstart(start));
  icalcomponent_add_property(event, icalproperty_new_summary(text.toUtf8().constData()));
  icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  icaltriggertype atStart{};
  atStart.time = icaltime_null_time();
  atStart.duration = icaldurationtype_null_duration();
  icalcomponent_add_property(alarm, icalproperty_new_trigger(atStart));
  icalcomponent_add_property(alarm, icalproperty_new_description(text.toUtf8().constData()));
  icalcomponent_add_component(event, alarm);
  return event;
}

// The day files of a month folder by day number, the days that exist only.
std::map<int, QString> DayFiles(const QString& monthFolder, int year, int month) {
  static const QRegularExpression dayName(QStringLiteral("^([1-9][0-9]?)\\.dat$"));
  std::map<int, QString> days;
  for (const QString& name : files::ListFiles(monthFolder)) {
    const auto match = dayName.match(name);
    if (!match.hasMatch()) continue;
    const int day = match.captured(1).toInt();
    if (QDate(year, month, day).isValid()) days[day] = monthFolder + '/' + name;
  }
  return days;
}

QString Uid(QDate day, const QByteArray& what, int occurrence) {
  const QByteArray hash = QCryptographicHash::hash(what, QCryptographicHash::Sha1).toHex().left(16);
  return day.toString(QStringLiteral("yyyyMMdd")) + '-' + QString::fromLatin1(hash) + '-' +
         QString::number(occurrence) + QStringLiteral("@quendar");
}

void AddDay(icalcomponent* calendar, QDate day, const files::RawLines& lines, ExportResult& result) {
  static const QRegularExpression time(QStringLiteral("^([01][0-9]|2[0-3]):([0-5][0-9])$"));
  auto decode = [&](const QByteArray& bytes) {
    bool lossy = false;
    QString text = files::Decode(bytes, &lossy);
    if (lossy) ++result.undecodableLines;
    return text;
  };
  if (!lines.empty() && !lines[0].isEmpty()) {
    icalcomponent* note = AllDayEvent(day, day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("-note@quendar"),
                                      decode(lines[0]));
    icalcomponent_add_property(note, icalproperty_new_categories(kNoteCategory.toUtf8().constData()));
    icalcomponent_add_property(note, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    icalcomponent_add_component(calendar, note);
    ++result.events;
  }
  // The same line twice on a day is two plans, told apart by their count.
  std::map<QByteArray, int> seen;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    if (store::IsMarked(line)) continue;
    const QString plan = decode(line);
    const QString uid = Uid(day, line, seen[line]++);
    const auto match = time.match(plan.left(5));
    icalcomponent* event = match.hasMatch()
                               ? TimedEvent(day, match.captured(1).toInt(), match.captured(2).toInt(), uid, plan.mid(6))
                               : AllDayEvent(day, uid, plan.mid(6));
    icalcomponent_add_component(calendar, event);
    ++result.events;
  }
}

}  // namespace

ExportResult ExportPlans(shell::App& app, QDate from, QDate to) {
  ExportResult result;
  icalcomponent* calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
  icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Quendar//quendar-ics 0.4.8//ZH-TW"));
  icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
  const icaltimetype stamp = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
  for (int year = std::max(kFirstYear, from.year()); year <= std::min(kLastYear, to.year()); ++year) {
    for (int month = 1; month <= 12; ++month) {
      const QString folder = shell::MonthFolderPath(app, year, month);
      if (!files::FolderExists(folder)) continue;
      for (const auto& [dayNumber, path] : DayFiles(folder, year, month)) {
        const QDate day(year, month, dayNumber);
        if (day < from || day > to) continue;
        if (const auto lines = store::ReadDayFile(path)) AddDay(calendar, day, *lines, result);
      }
    }
  }
  for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
       event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
  }
  char* text = icalcomponent_as_ical_string_r(calendar);
  result.calendar = QByteArray(text);
  std::free(text);
  icalcomponent_free(calendar);
  return result;
}

}  // namespace ics
