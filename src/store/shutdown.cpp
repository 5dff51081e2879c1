#include "store/shutdown.h"

#include "shell/app.h"
#include "shell/file_error.h"
#include "shell/paths.h"
#include "shell/settings_file.h"
#include "store/day_file.h"
#include "store/history_file.h"
#include "store/month_index.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <optional>
#include <set>
#include <vector>

namespace store {

namespace files = ui::files;

namespace {

struct PastDay {
  QString folder;
  // The files of the day that go; the one the records came from comes last,
  // so a day that could not be deleted completely still has its plans.
  QStringList paths;
  files::RawLines records;
  qint64 bytes = 0;  // of the records in the history, line ends included
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
void GatherPastDays(shell::App& app, const QString& folder, int firstKept, std::vector<PastDay>& days) {
  std::set<int> found;
  for (const QString& name : files::ListFiles(folder)) {
    if (const auto day = DayOfName(name); day && *day < firstKept) found.insert(*day);
  }
  for (int day : found) {
    const QString dayFile = folder + '/' + QString::number(day) + QStringLiteral(".dat");
    const QString source = DayFileSource(dayFile);
    PastDay past{folder, {}, {}, 0};
    try {
      const files::RawLines lines = files::ReadRawLines(source);
      // A leftover copy goes only when the file that holds the day has all
      // its plans; one that holds more stays and stands in for the day at
      // the next exit, once the day file is gone.
      for (const QString& copy : DayFileCopies(dayFile)) {
        if (copy != source && files::FileExists(copy) && PlansOnlyInCopy(copy, lines).empty()) past.paths.append(copy);
      }
      past.paths.append(source);
      for (std::size_t i = 1; i < lines.size(); ++i) {
        if (IsMarked(lines[i])) continue;
        past.records.push_back(PlanTextBytes(lines[i]));
        past.bytes += past.records.back().size() + 2;
      }
    } catch (const files::FileError& error) {
      shell::ReportFileError(app, error);
      continue;  // the day stays as it is for the next exit
    }
    days.push_back(std::move(past));
  }
}

// Appends the days' records and their count, then deletes the days' files.
// Nothing is deleted before both are on the disk, so a crash can at worst
// count a day again, never lose it. When a file cannot be deleted, that day
// and the ones after it take their records and count back and stay for the
// next exit; returns how many days went. A failing append or count throws
// with nothing changed.
std::size_t MoveToHistory(shell::App& app, const std::vector<PastDay>& days) {
  files::RawLines block;
  qint64 blockBytes = 0;
  for (const PastDay& day : days) {
    block.insert(block.end(), day.records.begin(), day.records.end());
    blockBytes += day.bytes;
  }
  const QString history = shell::HistoryPath(app);
  Counts before;
  qint64 blockStart = 0;
  if (!block.empty()) {
    const qint64 sizeBefore = AppendHistory(app, block);
    // The append may have ended a last line left open before the block.
    blockStart = QFileInfo(history).size() - blockBytes;
    try {
      before = AddToCount(app, CountField::NotDoneCount, int(std::min<std::size_t>(block.size(), kCountLimit)));
    } catch (const files::FileError&) {
      try {
        files::TruncateFile(history, sizeBefore);
      } catch (const files::FileError&) {
        // The plans are still in their day files; the error below is the one to show.
      }
      throw;
    }
  }
  qint64 movedBytes = 0;
  int movedRecords = 0;
  for (std::size_t i = 0; i < days.size(); ++i) {
    try {
      for (const QString& path : days[i].paths) files::RemoveFile(path);
    } catch (const files::FileError& error) {
      shell::ReportFileError(app, error);
      if (!block.empty()) {
        shell::Guarded(app, [&] {
          files::TruncateFile(history, blockStart + movedBytes);
          WriteCounts(app, WithAdded(before, CountField::NotDoneCount, movedRecords));
        });
      }
      return i;
    }
    movedBytes += days[i].bytes;
    movedRecords += int(days[i].records.size());
  }
  return days.size();
}

// Removes the emptied month folders of a year up to lastMonth, and takes every
// month whose folder is gone out of the year's index, so that a line left by
// an earlier failure goes too.
void RemoveEmptyMonths(shell::App& app, int year, int lastMonth) {
  std::vector<int> gone;
  for (int month = 1; month <= lastMonth; ++month) {
    const QString folder = shell::MonthFolderPath(app, year, month);
    // A folder that still holds something foreign cannot go, and its index
    // line stays with it: the index lists the month folders that exist.
    if (files::FolderExists(folder) && !files::FolderHasFiles(folder)) files::RemoveFolder(folder);
    if (!files::FolderExists(folder)) gone.push_back(month);
  }
  const QString yearFolder = shell::YearFolderPath(app, year);
  shell::Guarded(app, [&] { DropFromIndex(yearFolder, gone); });
  // Normally gone with its index; this catches a year folder an earlier
  // failure left empty. One that holds anything stays.
  if (files::FolderExists(yearFolder) && !files::FolderHasFiles(yearFolder)) files::RemoveFolder(yearFolder);
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
  // One append and one count for all days keeps the disk flushes few; when a
  // day cannot be deleted, the other days of its folder wait with it (most
  // likely a folder the program may not change) and the rest go on.
  while (!days.empty()) {
    std::size_t moved = 0;
    try {
      moved = MoveToHistory(app, days);
    } catch (const files::FileError& error) {
      shell::ReportFileError(app, error);
      break;
    }
    if (moved == days.size()) break;
    const QString stuck = days[moved].folder;
    days.erase(days.begin(), days.begin() + qsizetype(moved));
    std::erase_if(days, [&](const PastDay& day) { return day.folder == stuck; });
  }
  for (int year : years) RemoveEmptyMonths(app, year, lastMonth(year));
}

void ShutdownProcessing(shell::App& app) {
  shell::Guarded(app, [&] { EnsureCountersFile(app); });
  shell::Guarded(app, [&] { DropTodaysMarkedLines(app); });
  shell::Guarded(app, [&] { shell::WriteNotePositions(shell::SettingsPath(app), app.form1); });
  SweepPastDays(app);
}

}  // namespace store
