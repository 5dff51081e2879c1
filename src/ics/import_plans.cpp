#include "ics/import_plans.h"

#include "shell/paths.h"
#include "store/add_plan.h"
#include "store/day_file.h"
#include "platform/files/file_ops.h"

#include <map>

namespace ics {

namespace files = platform::files;

namespace {

// The text as the plan box would have taken it: no quotes, as typed keys
// never bring them, and only what a day file can hold.
QString AsTyped(const QString& text) {
  QString typed = text;
  typed.removeIf([](QChar c) { return store::IsRefusedQuote(c.unicode()); });
  return store::FileSafe(typed);
}

// The plan lines of a day as they stand, judged ones without their mark,
// each with the number of times it stands there.
std::map<QByteArray, int> PlanLinesOf(shell::App& app, QDate day) {
  std::map<QByteArray, int> lines;
  const auto file = store::ReadDayFile(shell::DayFilePath(app, day.year(), day.month(), day.day()));
  if (!file) return lines;
  for (std::size_t i = 1; i < file->size(); ++i) {
    const QByteArray& line = (*file)[i];
    ++lines[store::IsMarked(line) ? line.mid(1) : line];
  }
  return lines;
}

void AddDay(shell::App& app, QDate day, const std::vector<store::NewPlan>& candidates, bool dryRun,
          ImportSummary& summary, const std::function<void(QDate, const QString& line)>& onAdd) {
  // Each line standing takes up one event of the same line: a second import
  // of a file adds nothing, and a day that had the same plan twice gets it
  // twice.
  std::map<QByteArray, int> standing = PlanLinesOf(app, day);
  std::vector<store::NewPlan> fresh;
  int filtered = 0;
  for (const store::NewPlan& candidate : candidates) {
    const store::NewPlan plan{candidate.time, AsTyped(candidate.text)};
    if (plan.text.isEmpty()) {
      ++summary.untitled;
      continue;
    }
    if (int& left = standing[store::PlanLine(plan)]; left > 0) {
      --left;
      ++summary.duplicates;
      continue;
    }
    if (plan.text != candidate.text) ++filtered;
    fresh.push_back(plan);
  }
  if (!dryRun) store::AddPlans(app, day.year(), day.month(), QString::number(day.day()), fresh);
  summary.added += int(fresh.size());
  summary.filtered += filtered;
  if (onAdd) {
    for (const store::NewPlan& plan : fresh) onAdd(day, plan.time + ' ' + plan.text);
  }
}

}  // namespace

ImportSummary ImportPlans(shell::App& app, const std::vector<CalendarPlan>& plans, QDate from, QDate to,
                          bool dryRun, const std::function<void(QDate, const QString& line)>& onAdd) {
  ImportSummary summary;
  std::map<QDate, std::vector<store::NewPlan>> byDay;
  for (const CalendarPlan& plan : plans) {
    if (plan.day.year() < kFirstYear || plan.day.year() > kLastYear) {
      ++summary.outsideYears;
    } else if (plan.day < from || plan.day > to) {
      ++summary.outsideRange;
    } else {
      byDay[plan.day].push_back({plan.time, plan.text});
    }
  }
  try {
    if (!dryRun && !byDay.empty() && !files::FolderExists(shell::DataFolderPath(app))) {
      files::MakeFolder(shell::DataFolderPath(app));
    }
    for (const auto& [day, candidates] : byDay) AddDay(app, day, candidates, dryRun, summary, onAdd);
  } catch (const files::FileError& error) {
    summary.failure = error;
  }
  return summary;
}

}  // namespace ics
