#include "store/month_index.h"

#include "shell/app.h"
#include "shell/paths.h"
#include "store/val.h"
#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <algorithm>

namespace store {

namespace files = platform::files;

namespace {
QString IndexPath(const QString& yearFolder) { return yearFolder + QStringLiteral("/month.qdr"); }
}  // namespace

void AddQDR(shell::App& app, int Date_Year, int Date_Month) {
  // A blank where the sign would stand, then the digits.
  files::AppendLine(IndexPath(shell::YearFolderPath(app, Date_Year)), ' ' + QString::number(Date_Month));
}

void CheckQDR(shell::App&, int, int Date_Month, const QString& QDRFile_Diryear) {
  DropFromIndex(QDRFile_Diryear, {Date_Month});
}

void DropFromIndex(const QString& QDRFile_Diryear, const std::vector<int>& months) {
  const QString index = IndexPath(QDRFile_Diryear);
  if (!files::FileExists(index)) return;
  const files::RawLines lines = files::ReadRawLines(index);
  files::RawLines kept;
  for (const QByteArray& line : lines) {
    // Compared by value: " 8" and "08" both stand for August.
    if (std::find(months.begin(), months.end(), Val(files::Decode(line))) == months.end()) kept.push_back(line);
  }
  if (!kept.empty()) {
    if (kept.size() != lines.size()) {
      files::ReplaceTextFile(index, QDRFile_Diryear + QStringLiteral("/month.~qdr"), kept);
    }
    return;
  }
  files::RemoveFile(index);
  // A year folder that still holds a month folder (made from outside) stays.
  if (!files::FolderHasFiles(QDRFile_Diryear)) files::RemoveFolder(QDRFile_Diryear);
}

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
  DropFromIndex(yearFolder, gone);
  // Normally gone with its index; this catches a year folder an earlier
  // failure left empty. One that holds anything stays.
  if (files::FolderExists(yearFolder) && !files::FolderHasFiles(yearFolder)) files::RemoveFolder(yearFolder);
}

}  // namespace store
