#pragma once
// The clock as the program keeps it: two-digit texts of the local time, and
// the date line of the today page.

#include <QDate>
#include <QString>
#include <QTime>

namespace shell {

class App;

// NowHour, NowMinute, NowSecond from a time of day (24-hour clock).
void SetNowTexts(App& app, const QTime& time);

// "2005 年 8 月 5 日 (五)": numbers without padding, the weekday as the
// calendar's weekday heads write it.
QString DateLine(const QDate& date);

}  // namespace shell
