#pragma once

#include <QString>

namespace shell {
class App;
}

namespace calendar {

// Label1 over today's plans, and over any other selected day.
inline const QString kTodayHeading = QStringLiteral("今天的計畫行程");
QString DayHeading(int year, int month, const QString& day);

// Rebuilds the calendar page for ShownYear/ShownMonth: pulls the month into
// January 2001 .. December 2050, lays the days on the 42 cells with the start
// of each day's note and its plan count, lists today's plans in List1 and
// sizes the window for five or six week rows. It never writes a day file.
void BuildMonth(shell::App& app);

}  // namespace calendar
