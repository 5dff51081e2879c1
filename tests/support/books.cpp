#include "books.h"

#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

#include <set>

namespace testsupport {

namespace files = platform::files;

namespace {

const QRegularExpression kPlanLine(QStringLiteral("^(x?)(?:(?:[01]\\d|2[0-3]):[0-5]\\d|--:--) (.*)$"));
const QRegularExpression kDayName(QStringLiteral("^([1-9]\\d?)(\\.dat|\\.~dat|\\.dat\\.~new)$"));
const QRegularExpression kIndexLine(QStringLiteral("^ ([1-9]|1[0-2])$"));
const QRegularExpression kNumber(QStringLiteral("^[1-9]\\d*$"));

void ReadDayFile(Books& b, const QString& path, const QString& where, const QDate& day) {
  const QByteArray bytes = files::ReadFile(path);
  if (!WholeLines(bytes)) b.problems << where + ": not whole CR LF lines";
  const files::RawLines lines = files::ReadRawLines(path);
  if (lines.empty()) b.problems << where + ": no note line";
  else b.notes << files::Decode(lines[0]);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const QString line = files::Decode(lines[i]);
    const auto plan = kPlanLine.match(line);
    if (!plan.hasMatch()) {
      b.problems << where + ": bad plan line " + line;
      continue;
    }
    const QString text = plan.captured(2);
    ++(plan.captured(1).isEmpty() ? b.inDayFiles : b.markedInDayFiles)[text];
    b.dayOf[text] = day;
  }
}

// The months a year's index lists; problems for lines that are not a month.
std::set<int> ReadIndex(Books& b, const QString& path, const QString& where) {
  std::set<int> months;
  if (!WholeLines(files::ReadFile(path))) b.problems << where + ": not whole CR LF lines";
  for (const QByteArray& line : files::ReadRawLines(path)) {
    const auto m = kIndexLine.match(QString::fromLatin1(line));
    if (!m.hasMatch()) b.problems << where + ": bad line " + QString::fromLatin1(line);
    else if (!months.insert(m.captured(1).toInt()).second) b.problems << where + ": month listed twice " + line;
  }
  return months;
}

void ReadYear(Books& b, const QString& root, const QString& yearFolder) {
  const QString year = QFileInfo(yearFolder).fileName();
  const QString where = QDir(root).relativeFilePath(yearFolder);
  const QString indexPath = yearFolder + QStringLiteral("/month.qdr");
  const std::set<int> indexed = files::FileExists(indexPath) ? ReadIndex(b, indexPath, where + "/month.qdr")
                                                              : std::set<int>{};
  if (indexed.empty()) b.untidy << where + ": a year folder with no month in its index";
  std::set<int> held;
  for (const QFileInfo& entry : QDir(yearFolder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
    const QString name = entry.fileName();
    const QString at = where + '/' + name;
    if (!entry.isDir()) {
      if (name != QLatin1String("month.qdr") && name != QLatin1String("month.~qdr")) b.strangers << at;
      continue;
    }
    const int month = name.toInt();
    if (!kNumber.match(name).hasMatch() || month > 12) {
      b.strangers << at;
      continue;
    }
    bool hasDay = false;
    for (const QFileInfo& file : QDir(entry.filePath()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
      const QString fileAt = at + '/' + file.fileName();
      const auto dayName = kDayName.match(file.fileName());
      if (file.isDir() || !dayName.hasMatch()) {
        b.strangers << fileAt;
        continue;
      }
      const QDate day(year.toInt(), month, dayName.captured(1).toInt());
      if (dayName.captured(2) != QLatin1String(".dat")) {
        b.copies.emplace_back(fileAt, day);
        continue;
      }
      hasDay = true;
      ReadDayFile(b, file.filePath(), fileAt, day);
    }
    if (!hasDay) b.untidy << at + ": a month folder without a day file";
    held.insert(month);
  }
  for (int m : held) {
    if (!indexed.count(m)) b.untidy << where + QStringLiteral(": month %1 has a folder and no index line").arg(m);
  }
  for (int m : indexed) {
    if (!held.count(m)) b.untidy << where + QStringLiteral(": month %1 has an index line and no folder").arg(m);
  }
}

}  // namespace

bool WholeLines(const QByteArray& bytes) {
  if (bytes.isEmpty()) return true;
  if (!bytes.endsWith("\r\n")) return false;
  const QByteArray body = bytes.chopped(2);
  return body.count('\n') == body.count("\r\n") && body.count('\r') == body.count("\r\n");
}

Books ReadBooks(const QString& programFolder) {
  Books b;
  const QString datas = programFolder + QStringLiteral("/datas");
  for (const QFileInfo& entry : QDir(datas).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
    const QString name = entry.fileName();
    const QString where = QStringLiteral("datas/") + name;
    if (entry.isDir()) {
      if (kNumber.match(name).hasMatch()) ReadYear(b, programFolder, entry.filePath());
      else b.strangers << where;
    } else if (name == QLatin1String("quendar.qdr")) {
      const QByteArray bytes = files::ReadFile(entry.filePath());
      if (bytes.size() != 4) b.problems << where + QStringLiteral(": %1 bytes, not 4").arg(bytes.size());
      b.notDone = files::Int16At(bytes, 0);
      b.done = files::Int16At(bytes, 2);
    } else if (name == QLatin1String("quendar.dat")) {
      if (!WholeLines(files::ReadFile(entry.filePath()))) b.problems << where + ": not whole CR LF lines";
      for (const QByteArray& line : files::ReadRawLines(entry.filePath())) {
        ++b.historyLines;
        ++b.inHistory[files::Decode(line)];
      }
    } else if (name == QLatin1String("quendar.~dat") || name.endsWith(QLatin1String(".~new"))) {
      b.copies.emplace_back(where, QDate());
    } else {
      b.strangers << where;
    }
  }
  return b;
}

}  // namespace testsupport
