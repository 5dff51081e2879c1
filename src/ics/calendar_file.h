#pragma once
// Reading an iCalendar file into the plans it gives, through libical. The
// whole file is read and checked before anything is done with it.

#include <QDate>
#include <QString>

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
  QString error;     // why the file cannot be used; empty when it can
};

// Times with a time zone or in UTC come out in the local time of this
// machine (TZ), floating times and dates as they stand. Repeating events give
// their occurrences from `from` to `to` only; a single event is given
// wherever it lies, for the caller to judge.
CalendarContents ReadCalendarFile(const QString& path, QDate from, QDate to);

}  // namespace ics
