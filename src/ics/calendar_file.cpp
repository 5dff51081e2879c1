#include "ics/calendar_file.h"

#include "platform/files/file_ops.h"

#include <libical/ical.h>

#include <QTime>

#include <cstring>
#include <ctime>
#include <memory>
#include <set>
#include <utility>

namespace ics {

namespace files = platform::files;

namespace {

struct ComponentFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct ParserFree {
  void operator()(icalparser* p) const { icalparser_free(p); }
};

// Hands libical the file one physical line at a time (in pieces when a line
// is longer than its buffer) and counts the lines handed over, so that an
// error can name its line.
struct LineSource {
  const files::RawLines& lines;
  std::size_t next = 0;      // lines handed over completely
  qsizetype offset = 0;      // bytes of lines[next] handed over
};

char* NextPiece(char* out, std::size_t size, void* data) {
  auto& source = *static_cast<LineSource*>(data);
  if (source.next >= source.lines.size() || size < 2) return nullptr;
  const QByteArray& line = source.lines[source.next];
  const qsizetype rest = line.size() - source.offset;
  const qsizetype room = qsizetype(size) - 1;
  if (rest + 1 <= room) {
    std::memcpy(out, line.constData() + source.offset, std::size_t(rest));
    out[rest] = '\n';
    out[rest + 1] = '\0';
    ++source.next;
    source.offset = 0;
  } else {
    std::memcpy(out, line.constData() + source.offset, std::size_t(room));
    out[room] = '\0';
    source.offset += room;
  }
  return out;
}

QString FirstParseError(icalcomponent* c) {
  if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY)) {
    return QString::fromUtf8(icalproperty_get_xlicerror(p));
  }
  for (icalcomponent* child = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); child;
       child = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT)) {
    if (const QString error = FirstParseError(child); !error.isEmpty()) return error;
  }
  if (icalcomponent_isa(c) == ICAL_XLICINVALID_COMPONENT) return QStringLiteral("a component libical does not know");
  return {};
}

struct Parsed {
  std::vector<Component> calendars;
  QString error;
};

Parsed Parse(const QString& path) {
  Parsed parsed;
  files::RawLines lines;
  try {
    lines = files::ReadRawLines(path);
  } catch (const files::FileError& e) {
    parsed.error = path + QStringLiteral(": ") + e.reason;
    return parsed;
  }
  // Some clients start their files with a byte order mark, which libical
  // would take for part of the first line.
  if (!lines.empty() && lines[0].startsWith("\xEF\xBB\xBF")) lines[0].remove(0, 3);
  LineSource source{lines};
  std::unique_ptr<icalparser, ParserFree> parser(icalparser_new());
  icalparser_set_gen_data(parser.get(), &source);
  std::size_t errorLine = 0;
  bool begun = false, complete = true;
  for (;;) {
    // libical holds back one line to see whether the next one continues it,
    // so what it gives now began on the last line it was handed.
    const std::size_t startLine = source.next;
    char* line = icalparser_get_line(parser.get(), NextPiece);
    if (!line) break;
    const bool blank = QByteArray(line).trimmed().isEmpty();
    icalcomponent* done = icalparser_add_line(parser.get(), line);
    // The line stays ours, as libical's own parse loop frees it too.
    icalmemory_free_buffer(line);
    const icalparser_state state = icalparser_get_state(parser.get());
    if (state == ICALPARSER_ERROR && errorLine == 0) errorLine = startLine;
    if (state == ICALPARSER_BEGIN_COMP) begun = true;
    if (done) parsed.calendars.emplace_back(done);
    // Cut short: the last line ends no calendar; what it left open goes
    // with the parser.
    if (!blank) complete = done != nullptr;
  }

  const QString where = errorLine > 0 ? path + ':' + QString::number(errorLine) : path;
  if (!begun) {
    parsed.error = path + QStringLiteral(": not an iCalendar file");
  } else if (!complete) {
    parsed.error = path + QStringLiteral(": cut short after line %1: a component is not ended").arg(lines.size());
  } else {
    for (const Component& c : parsed.calendars) {
      if (icalcomponent_isa(c.get()) != ICAL_VCALENDAR_COMPONENT) {
        parsed.error = where + QStringLiteral(": not an iCalendar file (no VCALENDAR)");
        break;
      }
      if (const QString error = FirstParseError(c.get()); !error.isEmpty()) {
        parsed.error = where + QStringLiteral(": ") + error;
        break;
      }
    }
    if (parsed.error.isEmpty() && errorLine > 0) parsed.error = where + QStringLiteral(": libical rejects this line");
  }
  if (!parsed.error.isEmpty()) parsed.calendars.clear();
  return parsed;
}

QString TimeText(int hour, int minute) {
  return QTime(hour, minute).toString(QStringLiteral("hh:mm"));
}

bool IsFloating(const icaltimetype& t) { return t.is_date || (!t.zone && !icaltime_is_utc(t)); }

// A moment in the file as a plan's local day and time field.
CalendarPlan FromWallTime(int year, int month, int day, int hour, int minute, bool allDay) {
  return {QDate(year, month, day), allDay ? QStringLiteral("--:--") : TimeText(hour, minute), {}};
}

CalendarPlan FromTime(const icaltimetype& given) {
  // 24:00 is the next day's 00:00.
  const icaltimetype t = icaltime_normalize(given);
  if (IsFloating(t)) return FromWallTime(t.year, t.month, t.day, t.hour, t.minute, t.is_date);
  const time_t seconds = icaltime_as_timet_with_zone(t, t.zone ? t.zone : icaltimezone_get_utc_timezone());
  std::tm tm{};
  localtime_r(&seconds, &tm);
  return FromWallTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, false);
}

bool IsDayNote(icalcomponent* c) {
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY); p;
       p = icalcomponent_get_next_property(c, ICAL_CATEGORIES_PROPERTY)) {
    const QStringList names = QString::fromUtf8(icalproperty_get_categories(p)).split(',');
    if (names.contains(kNoteCategory)) return true;
  }
  return false;
}

// A time zone named and not given in the file nor known to libical would
// quietly turn into floating time: the plan would ring at a wrong hour.
QString UnknownZone(icalcomponent* c, icalproperty_kind kind, const icaltimetype& t) {
  icalproperty* p = icalcomponent_get_first_property(c, kind);
  icalparameter* tzid = p ? icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER) : nullptr;
  if (!tzid || t.zone) return {};
  return QString::fromUtf8(icalparameter_get_tzid(tzid));
}

bool Repeats(icalcomponent* c) {
  return icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY) ||
         icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY);
}

// The plans of a repeating event from `from` to `to`, the occurrences of
// its rules, its extra dates and its start, less the dates taken out. Several
// occurrences in one minute are one plan, as the planner has no finer time.
class Expansion {
 public:
  Expansion(icalcomponent* c, const icaltimetype& start, QDate from, QDate to, const QString& text,
            std::vector<CalendarPlan>& plans)
      : c_(c), start_(start), from_(from), to_(to), text_(text), plans_(plans) {}

  // False when the event was cut short: it gives more than kMostPlans, or a
  // rule took kMostSteps steps; what came before the cut is taken.
  bool Run() {
    Take(start_);
    for (icalproperty* p = icalcomponent_get_first_property(c_, ICAL_RRULE_PROPERTY); p && !cut_;
         p = icalcomponent_get_next_property(c_, ICAL_RRULE_PROPERTY)) {
      Step(icalproperty_get_rrule(p));
    }
    for (icalproperty* p = icalcomponent_get_first_property(c_, ICAL_RDATE_PROPERTY); p && !cut_;
         p = icalcomponent_get_next_property(c_, ICAL_RDATE_PROPERTY)) {
      const icaldatetimeperiodtype extra = icalproperty_get_rdate(p);
      icaltimetype t = icaltime_is_null_time(extra.time) ? extra.period.start : extra.time;
      // An extra date is given in the event's own zone.
      if (!t.zone && !icaltime_is_utc(t)) t.zone = start_.zone;
      Take(t);
    }
    return !cut_;
  }

 private:
  void Step(const icalrecurrencetype& rule) {
    struct IteratorFree {
      void operator()(icalrecur_iterator* i) const { icalrecur_iterator_free(i); }
    };
    std::unique_ptr<icalrecur_iterator, IteratorFree> it(icalrecur_iterator_new(rule, start_));
    if (!it) return;
    // A day of margin on each side: an occurrence's local day may differ
    // from its day in the event's zone.
    icaltimetype first = start_;
    first.year = from_.addDays(-1).year();
    first.month = from_.addDays(-1).month();
    first.day = from_.addDays(-1).day();
    first.hour = first.minute = first.second = 0;
    // Without COUNT the rule may begin at the range instead of its start.
    if (rule.count == 0 && icaltime_compare(first, start_) > 0) icalrecur_iterator_set_start(it.get(), first);
    const QDate before = from_.addDays(-1), last = to_.addDays(1);
    icaltimetype previous = icaltime_null_time();
    for (int steps = 0; !cut_; ++steps) {
      const icaltimetype t = icalrecur_iterator_next(it.get());
      const QDate day(t.year, t.month, t.day);
      if (icaltime_is_null_time(t) || day > last) return;
      if (steps == kMostSteps) {
        cut_ = true;
        return;
      }
      // Cheap checks first: a rule by the second gives sixty of each minute.
      if (day >= before && !SameMinute(t, previous) && Take(t)) previous = t;
    }
  }

  static bool SameMinute(const icaltimetype& a, const icaltimetype& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute;
  }

  // False when the occurrence is taken out, so that the rest of its minute
  // may still stand.
  bool Take(icaltimetype t) {
    if (icalproperty_recurrence_is_excluded(c_, &start_, &t)) return false;
    CalendarPlan plan = FromTime(t);
    if (plan.day < from_ || plan.day > to_ || !seen_.insert({plan.day, plan.time}).second) return true;
    if (seen_.size() > std::size_t(kMostPlans)) {
      cut_ = true;
      return true;
    }
    plan.text = text_;
    plans_.push_back(std::move(plan));
    return true;
  }

  icalcomponent* c_;
  icaltimetype start_;
  QDate from_, to_;
  const QString& text_;
  std::vector<CalendarPlan>& plans_;
  std::set<std::pair<QDate, QString>> seen_;
  bool cut_ = false;
};

// Adds the plans of one event or to-do; false with contents.error set when
// it cannot be placed.
bool ReadComponent(icalcomponent* c, QDate from, QDate to, const QString& path, CalendarContents& contents) {
  // Called off, it is no plan, whatever else it holds.
  if (icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED) {
    ++contents.cancelled;
    return true;
  }
  const bool todo = icalcomponent_isa(c) == ICAL_VTODO_COMPONENT;
  const icalproperty_kind kind = todo ? ICAL_DUE_PROPERTY : ICAL_DTSTART_PROPERTY;
  if (!icalcomponent_get_first_property(c, kind)) {
    if (todo) {
      ++contents.undated;
      return true;
    }
    contents.error = path + QStringLiteral(": an event without DTSTART");
    return false;
  }
  const icaltimetype start = todo ? icalcomponent_get_due(c) : icalcomponent_get_dtstart(c);
  if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start)) {
    contents.error = path + QStringLiteral(": a start or due time libical cannot read");
    return false;
  }
  if (const QString zone = UnknownZone(c, kind, start); !zone.isEmpty()) {
    contents.error = path + QStringLiteral(": unknown time zone \"") + zone + '"';
    return false;
  }
  if (IsDayNote(c)) {
    ++contents.dayNotes;
    return true;
  }
  const QString text = QString::fromUtf8(icalcomponent_get_summary(c));
  if (text.isEmpty()) {
    ++contents.untitled;
    return true;
  }
  if (todo || !Repeats(c)) {
    CalendarPlan plan = FromTime(start);
    plan.text = text;
    contents.plans.push_back(std::move(plan));
    return true;
  }
  if (!Expansion(c, start, from, to, text, contents.plans).Run()) contents.cut.append(text);
  return true;
}

}  // namespace

CalendarContents ReadCalendarFile(const QString& path, QDate from, QDate to) {
  icalerror_set_errors_are_fatal(0);
  CalendarContents contents;
  Parsed parsed = Parse(path);
  if (!parsed.error.isEmpty()) {
    contents.error = parsed.error;
    return contents;
  }
  for (const Component& calendar : parsed.calendars) {
    for (icalcomponent* c = icalcomponent_get_first_component(calendar.get(), ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar.get(), ICAL_ANY_COMPONENT)) {
      const icalcomponent_kind kind = icalcomponent_isa(c);
      if (kind != ICAL_VEVENT_COMPONENT && kind != ICAL_VTODO_COMPONENT) continue;
      if (!ReadComponent(c, from, to, path, contents)) {
        contents.plans.clear();
        return contents;
      }
    }
  }
  return contents;
}

}  // namespace ics
