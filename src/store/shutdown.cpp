#include "store/shutdown.h"

#include "shell/app.h"
#include "shell/file_error.h"
#include "shell/paths.h"
#include "shell/settings_file.h"
#include "store/day_file.h"
#include "store/history_file.h"
#include "store/journal.h"
#include "store/month_index.h"

#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <set>
#include <vector>

namespace store {

namespace files = platform::files;

namespace {

struct PastDay {
  QString folder;
  // The files of the day that go, each with what it holds; the one the
  // records came from comes last.
  QStringList paths;
  std::vector<QByteArray> held;
  files::RawLines records;
};

// The day of a day file or of one of its leftover copies.
std::optional<int> DayOfName(const QString& name) {
  static const QRegularExpression pattern(QStringLiteral("^([1-9][0-9]?)(\\.dat|\\.~dat|\\.dat\\.~new)$"));
  const QRegularExpressionMatch match = pattern.match(name);
  if (!match.hasMatch()) return std::nullopt;
  const int day = match.captured(1).toInt();
  if (day > 31) return std::nullopt;
  return day;
}

// The days before firstKept of one month folder, in day order, with the plan
// lines that never got a verdict (marked lines were counted at their verdict).
// A folder the program may not change keeps its days, uncounted, for a later
// exit: they could not go, and must not be counted while they stay.
void GatherPastDays(shell::App& app, const QString& folder, int firstKept, std::vector<PastDay>& days) {
  std::set<int> found;
  for (const QString& name : files::ListFiles(folder)) {
    if (const auto day = DayOfName(name); day && *day < firstKept) found.insert(*day);
  }
  if (found.empty()) return;
  if (!files::FolderWritable(folder)) {
    shell::ReportFileError(app, {folder, QString::fromLocal8Bit(std::strerror(EACCES))});
    return;
  }
  for (int day : found) {
    const QString dayFile = folder + '/' + QString::number(day) + QStringLiteral(".dat");
    const QString source = DayFileSource(dayFile);
    PastDay past{folder, {}, {}, {}};
    try {
      // Only empty copies may be left of a day: they go, and nothing is counted.
      const QByteArray sourceBytes = source.isEmpty() ? QByteArray() : files::ReadFile(source);
      const files::RawLines lines = files::RawLinesOf(sourceBytes);
      // A leftover copy goes only when the file that holds the day has all
      // its plans; one that holds more stays and stands in for the day at
      // the next exit, once the day file is gone.
      for (const QString& copy : DayFileCopies(dayFile)) {
        if (copy != source && files::FileExists(copy) && PlansOnlyInCopy(copy, lines).empty()) {
          past.paths.append(copy);
          past.held.push_back(files::ReadFile(copy));
        }
      }
      if (!source.isEmpty()) {
        past.paths.append(source);
        past.held.push_back(sourceBytes);
      }
      for (std::size_t i = 1; i < lines.size(); ++i) {
        if (!IsMarked(lines[i])) past.records.push_back(PlanTextBytes(lines[i]));
      }
    } catch (const files::FileError& error) {
      shell::ReportFileError(app, error);
      continue;  // the day stays as it is for the next exit
    }
    days.push_back(std::move(past));
  }
}

void DropTodaysMarkedLines(shell::App& app) {
  const QString day = QString::number(app.TodayDay);
  const auto lines = ReadDayFile(shell::DayFilePath(app, app.TodayYear, app.TodayMonth, day));
  if (!lines || lines->empty()) return;
  const QString history = shell::HistoryPath(app);
  if (!files::FileExists(history)) files::CreateFile(history, {});
  RawLines kept{lines->front()};
  for (std::size_t i = 1; i < lines->size(); ++i) {
    if (!IsMarked((*lines)[i])) kept.push_back((*lines)[i]);
  }
  if (kept.size() != lines->size()) ReplaceDayFile(app, app.TodayYear, app.TodayMonth, day, kept);
}

}  // namespace

void SweepPastDays(shell::App& app) {
  // What a half-done change still holds back is not to be gathered twice.
  if (!CompleteJournal(app)) return;
  std::vector<PastDay> days;
  std::vector<int> years;
  const auto lastMonth = [&](int year) { return year < app.TodayYear ? 12 : int(app.TodayMonth); };
  for (int year = 2001; year <= app.TodayYear; ++year) {
    if (!files::FolderExists(shell::YearFolderPath(app, year))) continue;
    years.push_back(year);
    for (int month = 1; month <= lastMonth(year); ++month) {
      const bool todaysMonth = year == app.TodayYear && month == app.TodayMonth;
      GatherPastDays(app, shell::MonthFolderPath(app, year, month), todaysMonth ? app.TodayDay : 32, days);
    }
  }
  if (days.empty()) {
    // Only folders and index lines an earlier failure left: each step of
    // that tidying is safe to repeat at the next exit.
    for (int year : years) shell::Guarded(app, [&] { RemoveEmptyMonths(app, year, lastMonth(year)); });
    return;
  }
  // One change for all days: one append, one count, one flush of each.
  shell::Guarded(app, [&] {
    Journal change(app);
    files::RawLines block;
    for (const PastDay& day : days) block.insert(block.end(), day.records.begin(), day.records.end());
    if (!block.empty()) {
      EnsureCountersFile(app);
      change.AppendHistory(block);
      change.AddToCount(CountField::NotDoneCount, int(std::min<std::size_t>(block.size(), kCountLimit)));
    }
    for (const PastDay& day : days) {
      for (qsizetype i = 0; i < day.paths.size(); ++i) change.RemoveFile(day.paths[i], day.held[std::size_t(i)]);
    }
    for (int year : years) change.TidyYear(year, lastMonth(year));
    RunChange(app, change, Finish::Now);
  });
}

void ShutdownProcessing(shell::App& app) {
  // A change a crash left half done is completed before the books are read.
  const bool completed = CompleteJournal(app);
  shell::Guarded(app, [&] { EnsureCountersFile(app); });
  if (completed) shell::Guarded(app, [&] { DropTodaysMarkedLines(app); });
  shell::Guarded(app, [&] { shell::WriteNotePositions(shell::SettingsPath(app), app.form1); });
  if (completed) SweepPastDays(app);
}

}  // namespace store
