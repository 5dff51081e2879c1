#pragma once
// Years of day files written straight to a program folder, as the starting
// state of the benchmarks that read, sweep or export them.

#include "shell/app.h"
#include "shell/paths.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

namespace benchsupport {

// Writes the bytes over the file, flushed to the disk when asked; a failure
// ends the benchmark, whose figures would mean nothing.
inline void WriteFile(const QString& path, const QByteArray& bytes, bool flush) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() || (flush && ::fsync(fd) != 0)) {
    std::abort();
  }
  ::close(fd);
}

// Lays out `years` years of 365 days from `firstYear` in the App's folder,
// with each year's month index; a day file holds dayBytes(day of the month).
// Returns the day files' paths.
inline QStringList LayOutYears(shell::App& app, int firstYear, int years, bool flush,
                               const std::function<QByteArray(int day)>& dayBytes) {
  QStringList paths;
  for (int year = firstYear; year < firstYear + years; ++year) {
    QByteArray index;
    for (int month = 1; month <= 12; ++month) {
      QDir().mkpath(shell::MonthFolderPath(app, year, month));
      index += ' ' + QByteArray::number(month) + "\r\n";
      const int days = QDate(2001, month, 1).daysInMonth();  // 365 days a year
      for (int d = 1; d <= days; ++d) {
        paths.append(shell::DayFilePath(app, year, month, d));
        WriteFile(paths.back(), dayBytes(d), flush);
      }
    }
    WriteFile(shell::YearFolderPath(app, year) + "/month.qdr", index, flush);
  }
  return paths;
}

}  // namespace benchsupport
