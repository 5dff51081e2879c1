#include "store/day_file.h"

#include "shell/app.h"
#include "shell/paths.h"
#include "store/month_index.h"
#include "platform/controls.h"
#include "platform/files/codepage.h"

#include <map>

namespace store {

namespace files = platform::files;

QStringList DayFileCopies(const QString& dayFile) {
  return {dayFile.chopped(4) + QStringLiteral(".~dat"), dayFile + QStringLiteral(".~new")};
}

QString DayFileSource(const QString& dayFile) {
  if (files::FileExists(dayFile)) return dayFile;
  // An empty copy was cut off before it got even the note line: it holds
  // nothing, and put in place it would make a day file without its note.
  for (const QString& copy : DayFileCopies(dayFile)) {
    if (files::FileExists(copy) && !files::ReadBytes(copy, 1).isEmpty()) return copy;
  }
  return {};
}

std::optional<RawLines> ReadDayFile(const QString& dayFile) {
  const QString source = DayFileSource(dayFile);
  if (source.isEmpty()) return std::nullopt;
  return files::ReadRawLines(source);
}

void RestoreDayFile(const QString& dayFile) {
  const QString source = DayFileSource(dayFile);
  if (!source.isEmpty() && source != dayFile) files::RenameFile(source, dayFile);
}

RawLines PlansOnlyInCopy(const QString& copy, const RawLines& dayLines) {
  const auto plan = [](const QByteArray& line) { return IsMarked(line) ? line.mid(1) : line; };
  std::map<QByteArray, int> inDay;
  for (std::size_t i = 1; i < dayLines.size(); ++i) ++inDay[plan(dayLines[i])];

  const QByteArray bytes = files::ReadFile(copy);
  RawLines lines = files::RawLinesOf(bytes);
  if (!bytes.endsWith('\n') && !bytes.endsWith('\r') && !lines.empty()) lines.pop_back();
  RawLines only;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (IsMarked(lines[i])) continue;
    if (auto it = inDay.find(plan(lines[i])); it != inDay.end() && it->second > 0) {
      --it->second;
    } else {
      only.push_back(lines[i]);
    }
  }
  return only;
}

QString PlanText(const QByteArray& line) { return files::DecodeStart(line, 6 + kShownLength).mid(6); }

QString PlanItem(int number, const QString& text) {
  return QString::number(number) + QStringLiteral("  ") + text;
}

int ListUnmarkedPlans(platform::ListBox& list, const RawLines& lines) {
  int listed = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (IsMarked(lines[i])) continue;
    list.AddItem(PlanItem(++listed, PlanText(lines[i])), int(i));
  }
  return listed;
}

bool EnsureDayFile(shell::App& app, int year, int month, const QString& day) {
  const QString path = shell::DayFilePath(app, year, month, day);
  RestoreDayFile(path);
  if (files::FileExists(path)) {
    // A file emptied from outside has lost even its note line; without it a
    // plan appended next would be read as the day's note.
    if (files::ReadBytes(path, 1).isEmpty()) files::AppendRawLine(path, {});
    return false;
  }
  const QString yearFolder = shell::YearFolderPath(app, year);
  const QString monthFolder = shell::MonthFolderPath(app, year, month);
  bool madeYear = false, madeMonth = false, indexed = false;
  try {
    if (!files::FolderExists(yearFolder)) {
      files::MakeFolder(yearFolder);
      madeYear = true;
    }
    if (!files::FolderExists(monthFolder)) {
      files::MakeFolder(monthFolder);
      madeMonth = true;
      // The index line goes in before the day file: a month folder that
      // holds a day is then always listed, even if the program stops here.
      AddQDR(app, year, month);
      indexed = true;
    }
    files::CreateFile(path, QByteArrayLiteral("\r\n"));
  } catch (const files::FileError&) {
    // Taken back newest first. The index line goes only with its folder,
    // since the index lists the month folders that exist.
    try {
      if (madeMonth && files::RemoveFolder(monthFolder) && indexed) CheckQDR(app, year, month, yearFolder);
    } catch (const files::FileError&) {
      // The error being thrown is the one the user needs to see.
    }
    if (madeYear) files::RemoveFolder(yearFolder);
    throw;
  }
  return true;
}

void ReplaceDayFile(shell::App& app, int year, int month, const QString& day, const RawLines& lines) {
  RestoreDayFile(shell::DayFilePath(app, year, month, day));
  files::ReplaceTextFile(shell::DayFilePath(app, year, month, day),
                         shell::DayTempPath(app, year, month, day), lines);
}

void PruneDay(shell::App& app, int year, int month, const QString& day) {
  const QString path = shell::DayFilePath(app, year, month, day);
  if (const auto lines = ReadDayFile(path); lines && lines->size() == 1 && lines->front().isEmpty()) {
    files::RemoveFile(path);
  }
  const QString monthFolder = shell::MonthFolderPath(app, year, month);
  if (files::FolderHasFiles(monthFolder)) return;
  // A folder that cannot go (something foreign in it) stays, and so does its
  // index line: the index lists the month folders that exist.
  if (!files::RemoveFolder(monthFolder)) return;
  CheckQDR(app, year, month, shell::YearFolderPath(app, year));
}

}  // namespace store
