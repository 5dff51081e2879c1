#pragma once
// Puts the plans of a calendar file on their days, by Add's own steps.

#include "ics/calendar_file.h"

#include <QDate>

#include "platform/files/file_ops.h"

#include <functional>
#include <optional>

namespace shell {
class App;
}

namespace ics {

struct ImportSummary {
  int added = 0;
  int duplicates = 0;    // the same plan line already stands on its day
  int outsideRange = 0;  // a day before `from` or after `to`
  int outsideYears = 0;  // a day outside the calendar's years 2001 to 2050
  int filtered = 0;      // added with quotes or characters dropped
  int untitled = 0;      // nothing left of the text once filtered
  // The file step that failed; the days done before it keep their plans.
  std::optional<platform::files::FileError> failure;
};

// Adds the plans whose day lies from `from` to `to`, each day's new plans in
// one append; a plan whose line (time field and text) already stands on its
// day, judged or not, is not added again (a line standing twice takes up two
// such plans). With dryRun nothing is written and
// onAdd still hears of every plan that would go in. A failing file step
// stops the import; a day's append is whole or not there at all.
ImportSummary ImportPlans(shell::App& app, const std::vector<CalendarPlan>& plans, QDate from, QDate to,
                          bool dryRun, const std::function<void(QDate, const QString& line)>& onAdd);

}  // namespace ics
