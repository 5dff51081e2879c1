#pragma once
// Writes the plans and notes of a program folder as one iCalendar text.

#include <QByteArray>
#include <QDate>

namespace shell {
class App;
}

namespace ics {

struct ExportResult {
  QByteArray calendar;        // the VCALENDAR, as libical writes it
  int events = 0;
  int undecodableLines = 0;   // lines with bytes the code page cannot decode
};

// Every plan without a verdict becomes an event on its day (with a time, a
// floating start and an alarm at it; without, an all-day event), and every
// day's note an all-day event of the note category. UIDs depend only on the
// day and the line, so a second export updates a client instead of
// doubling it. Only reads the folder.
ExportResult ExportPlans(shell::App& app, QDate from, QDate to);

}  // namespace ics
