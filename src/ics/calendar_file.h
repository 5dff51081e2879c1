#pragma once
// Reading an iCalendar file into the plans it gives, through libical. The
// whole file is read and checked before anything is done with it.

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

namespace ics {

// The years the planner's calendar shows; no plan lies outside them.
constexpr int kFirstYear = 2001, kLastYear = 2050;

// The category that marks the all-day event of a day's note.
inline const QString kNoteCategory = QStringLiteral("當日行程節慶");

struct CalendarPlan {
  QDate day;     // local day of the start
  QString time;  // local "hh:mm", or "--:--" for an all-day event
  QString text;  // the summary as the file gives it
};

struct CalendarContents {
  std::vector<CalendarPlan> plans;
  int dayNotes = 0;  // day notes of an export, which are no plans
  int untitled = 0;  // events and to-dos without a summary
  int undated = 0;   // to-dos without a due date
  int cancelled = 0;  // events and to-dos called off, which are no plans
  QStringList cut;    // the texts of repeating events cut short
  QString error;     // why the file cannot be used; empty when it can
};

// One repeating event gives at most this many plans within the range: room
// for a daily plan on every day of the calendar's fifty years (18,262 days),
// or one a minute, the finest a plan's time goes, for almost two weeks. A
// rule that gives more, such as every second or every minute without end, is
// no plan anyone keeps, and expanding it in full would take time and memory
// without bound.
constexpr int kMostPlans = 20000;
// Occurrences stepped through for one rule, also those before the range that
// a rule with COUNT must be stepped through from its start: an hourly rule's
// 28 years, a daily rule's 680, and a bound of about a second on a rule that
// steps by the second or never reaches the range.
constexpr int kMostSteps = 250000;

// Times with a time zone or in UTC come out in the local time of this
// machine (TZ), floating times and dates as they stand. Repeating events give
// their occurrences from `from` to `to` only, one plan per day and time
// field and at most kMostPlans of them; a single event is given
// wherever it lies, for the caller to judge.
CalendarContents ReadCalendarFile(const QString& path, QDate from, QDate to);

}  // namespace ics
