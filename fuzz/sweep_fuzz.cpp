// The exit's sweep over a data folder of any names and contents. Today is
// 3 September 2005 on the fake clock: days 1 and 2 of September and every
// earlier month are past, day 3 is today, the rest lies ahead.
//
// Input: up to 24 entries, each three bytes and a content:
//   byte 0  bits 0-2  where: 0-5 a month folder (2001/1, 2004/12, 2005/8,
//                     2005/9, 2005/10, 2006/1), 6 a year's month.qdr (the
//                     year is byte 1 modulo 4: 2001, 2004, 2005, 2006),
//                     7 a file of the data folder (bits 3-4: the counters
//                     file, the history, a foreign file; 3: a foreign file in
//                     the year folder of byte 1)
//           bits 3-5  in a month folder, the name: 0-2 "<d>.dat", 3 "<d>.~dat",
//                     4 "<d>.dat.~new", 5 "<byte 1>.dat" (a day only from 1
//                     to 31), 6 "0<d>.dat", 7 a foreign name (bits 6-7 pick it)
//   byte 1  the day d = 1 + byte 1 modulo 31, or the year as above
//   byte 2  the content's length; the content follows (cut at the input's end)
// A later entry for the same file replaces the earlier one.

#include "fuzz_support.h"
#include "shell/app.h"
#include "store/day_file.h"
#include "store/history_file.h"
#include "store/shutdown.h"
#include "store/val.h"
#include "platform/files/codepage.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace {

using platform::files::RawLines;
namespace files = platform::files;

struct Month {
  int year, month;
};
constexpr Month kFolders[] = {{2001, 1}, {2004, 12}, {2005, 8}, {2005, 9}, {2005, 10}, {2006, 1}};
constexpr int kYears[] = {2001, 2004, 2005, 2006};
constexpr int kTodayYear = 2005, kTodayMonth = 9, kTodayDay = 3;

const QString kCounters = QStringLiteral("datas/quendar.qdr");
const QString kHistory = QStringLiteral("datas/quendar.dat");
const QString kToday = QStringLiteral("datas/2005/9/3.dat");

// What a file of a month folder stands for: the copies of a day in the order
// in which they stand in for it (the day file, the copy of an update, the copy
// a new day file was written through); foreign files have none.
struct DayCopy {
  int year, month, day, rank;
};

struct Planted {
  std::map<QString, QByteArray> files;
  std::map<QString, DayCopy> copies;
};

QString MonthPath(const Month& m) { return QStringLiteral("datas/%1/%2/").arg(m.year).arg(m.month); }

Planted Plant(const std::uint8_t* data, std::size_t size) {
  Planted p;
  std::size_t at = 0;
  for (int entry = 0; entry < 24 && at + 3 <= size; ++entry) {
    const std::uint8_t where = data[at], which = data[at + 1];
    const std::size_t length = std::min<std::size_t>(data[at + 2], size - at - 3);
    const QByteArray content = fuzz::Bytes(data + at + 3, length);
    at += 3 + length;

    int day = 1 + which % 31;
    const int year = kYears[which % 4];
    QString path;
    std::optional<int> rank;
    if ((where & 7) < 6) {
      const Month& m = kFolders[where & 7];
      const QString d = QString::number(day);
      QString name;
      switch ((where >> 3) & 7) {
        case 3: name = d + ".~dat", rank = 1; break;
        case 4: name = d + ".dat.~new", rank = 2; break;
        case 5:
          name = QString::number(which) + ".dat";
          day = which;
          if (day >= 1 && day <= 31) rank = 0;
          break;
        case 6: name = '0' + d + ".dat"; break;
        case 7: {
          static const char* const foreign[] = {"%1.txt", "%1.dat.bak", ".%1.dat", "%1.~qdr"};
          name = QString::fromLatin1(foreign[where >> 6]).arg(d);
          break;
        }
        default: name = d + ".dat", rank = 0; break;
      }
      path = MonthPath(m) + name;
      if (rank) p.copies[path] = DayCopy{m.year, m.month, day, *rank};
    } else if ((where & 7) == 6) {
      path = QStringLiteral("datas/%1/month.qdr").arg(year);
    } else {
      const QString names[] = {kCounters, kHistory, QStringLiteral("datas/notes.txt"),
                               QStringLiteral("datas/%1/readme.txt").arg(year)};
      path = names[(where >> 3) & 3];
    }
    p.files[path] = content;
  }
  return p;
}

bool IsPast(const DayCopy& c) {
  return std::tie(c.year, c.month, c.day) < std::tie(kTodayYear, kTodayMonth, kTodayDay);
}

// Every file under the data folder with its bytes.
std::map<QString, QByteArray> DataFiles(const testsupport::TestApp& t) {
  std::map<QString, QByteArray> found;
  for (const QString& entry : t.Tree()) {
    if (entry.startsWith(QLatin1String("datas/")) && QFileInfo(t.Path(entry)).isFile()) found[entry] = t.ReadBytes(entry);
  }
  return found;
}

bool HasEntries(const testsupport::TestApp& t, const QString& folder) {
  return !QDir(t.Path(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty();
}

// The plan lines without a verdict of a day file, in file order.
RawLines UnmarkedPlans(const RawLines& lines) {
  RawLines plans;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (!store::IsMarked(lines[i])) plans.push_back(lines[i]);
  }
  return plans;
}

// Whether a leftover copy holds a plan without a verdict that the file the
// day was read from lacks, one for one, marks aside. Only whole lines count:
// a last line without its end was cut short in the writing.
bool HoldsPlansOfItsOwn(const QByteArray& copy, const RawLines& source) {
  std::multiset<QByteArray> left;
  for (std::size_t i = 1; i < source.size(); ++i) left.insert(store::IsMarked(source[i]) ? source[i].mid(1) : source[i]);
  const qsizetype end = std::max(copy.lastIndexOf('\n'), copy.lastIndexOf('\r')) + 1;
  const RawLines lines = files::RawLinesOf(copy.left(end));
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (store::IsMarked(lines[i])) continue;
    const auto it = left.find(lines[i]);
    if (it == left.end()) return true;
    left.erase(it);
  }
  return false;
}

// The history's record of a plan line keeps the bytes of its text: the line
// from its 7th character on.
void CheckRecord(const QByteArray& record, const QByteArray& line) {
  fuzz::Check(line.endsWith(record), "a record is the plan line's own bytes");
  fuzz::Check(files::Decode(record) == files::Decode(line).mid(6), "a record is the line from its 7th character on");
}

// Past month folders go when nothing is left in them, and year folders with
// them; the index keeps exactly the lines of the month folders that are left.
void CheckFoldersAndIndexes(const testsupport::TestApp& t, const std::map<QString, QByteArray>& before,
                            const std::map<QString, QByteArray>& after, const std::map<int, RawLines>& indexes) {
  for (int year : kYears) {
    if (year > kTodayYear) continue;
    const QString yearFolder = QStringLiteral("datas/%1").arg(year);
    fuzz::Check(!t.Exists(yearFolder) || HasEntries(t, yearFolder), "no year folder is left empty");
    const int lastMonth = year < kTodayYear ? 12 : kTodayMonth;
    std::set<long> gone;
    for (int month = 1; month <= lastMonth; ++month) {
      const QString folder = QStringLiteral("%1/%2").arg(yearFolder).arg(month);
      fuzz::Check(!t.Exists(folder) || HasEntries(t, folder), "no month folder up to today's is left empty");
      if (!t.Exists(folder)) gone.insert(month);
    }
    const auto index = indexes.find(year);
    if (index == indexes.end()) continue;
    RawLines kept;
    for (const QByteArray& line : index->second) {
      if (!gone.count(store::Val(files::Decode(line)))) kept.push_back(line);
    }
    const QString path = yearFolder + QStringLiteral("/month.qdr");
    if (kept.empty()) {
      fuzz::Check(!after.count(path), "an index left without lines goes");
    } else {
      fuzz::Check(after.count(path) && after.at(path) == (kept.size() == index->second.size() ? before.at(path)
                                                                                             : fuzz::Joined(kept)),
                  "the index keeps the lines of the months still there, byte for byte");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Planted planted = Plant(data, size);

  testsupport::TestApp t;
  t.platform.now = QDateTime(QDate(kTodayYear, kTodayMonth, kTodayDay), QTime(21, 0));
  for (const auto& [path, bytes] : planted.files) t.WriteBytes(path, bytes);
  int ended = 0;
  t.app.EndProgram = [&] { ++ended; };
  fuzz::Check(t.Start(), "the program starts");
  const auto before = DataFiles(t);
  fuzz::Check(before == planted.files, "start-up changes no file");

  // The plans the sweep must move: of each past day the copy that stands for
  // it, in day order.
  std::map<std::tuple<int, int, int>, std::pair<int, QString>> source;
  for (const auto& [path, copy] : planted.copies) {
    if (!IsPast(copy)) continue;
    const auto key = std::make_tuple(copy.year, copy.month, copy.day);
    const auto it = source.find(key);
    if (it == source.end() || copy.rank < it->second.first) source[key] = {copy.rank, path};
  }
  RawLines lines;
  std::set<QString> sources;
  for (const auto& [day, from] : source) {
    const RawLines plans = UnmarkedPlans(files::ReadRawLines(t.Path(from.second)));
    lines.insert(lines.end(), plans.begin(), plans.end());
    sources.insert(from.second);
  }
  // A past copy beside the file its day was read from stays while it holds plans of its own.
  std::set<QString> keptCopies;
  for (const auto& [path, copy] : planted.copies) {
    if (!IsPast(copy) || sources.count(path)) continue;
    const QString from = source.at(std::make_tuple(copy.year, copy.month, copy.day)).second;
    if (HoldsPlansOfItsOwn(before.at(path), files::ReadRawLines(t.Path(from)))) keptCopies.insert(path);
  }
  // Today is read from its file or, when that is missing, from the copy that
  // stands in for it, which the first change puts in the file's place.
  QString todaySource;
  for (const QString& path : {kToday, kToday.chopped(4) + QStringLiteral(".~dat"), kToday + QStringLiteral(".~new")}) {
    if (todaySource.isEmpty() && before.count(path)) todaySource = path;
  }
  QByteArray todayExpected;
  bool todayChanges = false;
  if (!todaySource.isEmpty()) {
    const RawLines read = files::ReadRawLines(t.Path(todaySource));
    const RawLines plans = UnmarkedPlans(read);
    todayChanges = plans.size() + 1 < read.size();
    todayExpected = todayChanges ? fuzz::Joined(RawLines{read.front()}) + fuzz::Joined(plans) : before.at(todaySource);
  }

  std::map<int, RawLines> indexes;  // of the years the sweep looks at
  for (int year : kYears) {
    const QString index = QStringLiteral("datas/%1/month.qdr").arg(year);
    if (year <= kTodayYear && before.count(index)) indexes[year] = files::ReadRawLines(t.Path(index));
  }

  t.app.form1.MenuExit.Click();
  fuzz::Check(ended == 1, "the exit ends the program");
  fuzz::CheckNoErrorBox(t);
  const auto after = DataFiles(t);

  // Every file the exit made is the counters file or the history.
  for (const auto& [path, bytes] : after) {
    fuzz::Check(before.count(path) || path == kCounters || path == kHistory || (path == kToday && todayChanges),
                "the exit leaves no file of its own");
  }

  // The history gains the records in day order, each the bytes of its plan's text.
  const std::optional<QByteArray> historyBefore =
      before.count(kHistory) ? std::optional(before.at(kHistory)) : std::nullopt;
  const bool todayRead = !todaySource.isEmpty() && !before.at(todaySource).isEmpty();
  std::optional<QByteArray> historyExpected = historyBefore;
  if (!historyExpected && todayRead) historyExpected = QByteArray();
  const auto historyAfter = after.count(kHistory) ? std::optional(after.at(kHistory)) : std::nullopt;
  if (lines.empty()) {
    fuzz::Check(historyAfter == historyExpected, "without past plans the history stays");
  } else {
    fuzz::Check(historyAfter.has_value(), "past plans make a history");
    const QByteArray old = historyExpected.value_or(QByteArray());
    const QByteArray opened = fuzz::Appended(old, QByteArray()).chopped(2);
    fuzz::Check(historyAfter->startsWith(opened), "the history keeps its old records byte for byte");
    RawLines records;
    const QByteArray added = historyAfter->mid(opened.size());
    fuzz::Check(added.endsWith("\r\n"), "the records end with CR LF");
    for (const QByteArray& r : added.chopped(2).split('\n')) records.push_back(r.endsWith('\r') ? r.chopped(1) : r);
    fuzz::Check(records.size() == lines.size(), "every past plan without a verdict is one record");
    for (std::size_t i = 0; i < lines.size(); ++i) CheckRecord(records[i], lines[i]);
  }

  // The not-done count grows by the records, the done count stays.
  const QByteArray countersBefore = before.count(kCounters) ? before.at(kCounters) : QByteArray(4, '\0');
  if (lines.empty()) {
    fuzz::Check(after.at(kCounters) == countersBefore, "without past plans the counters stay");
  } else {
    const int notDone = std::min<int>(files::Int16At(countersBefore, 0) + int(lines.size()), store::kCountLimit);
    const QByteArray expected = files::Int16Bytes(std::int16_t(notDone)) +
                                files::Int16Bytes(files::Int16At(countersBefore, 2)) + countersBefore.mid(4);
    fuzz::Check(after.at(kCounters) == expected, "the not-done count grows by the records appended");
  }

  // Past days are gone with their copies, but for those with plans of their
  // own; today's file loses only its marked lines; every other file stays
  // byte for byte.
  for (const auto& [path, bytes] : before) {
    if (path == kCounters || path == kHistory || path.endsWith(QLatin1String("/month.qdr"))) continue;
    const auto copy = planted.copies.find(path);
    if (keptCopies.count(path)) {
      fuzz::Check(after.count(path) && after.at(path) == bytes, "a copy with plans of its own stays byte for byte");
    } else if (copy != planted.copies.end() && IsPast(copy->second)) {
      fuzz::Check(!after.count(path), "a past day's files go");
    } else if (path == todaySource && todayChanges && path != kToday) {
      fuzz::Check(!after.count(path), "the copy that stood in for today is in the file's place");
    } else if (path == todaySource) {
      fuzz::Check(after.count(path) && after.at(path) == todayExpected,
                  "today's file loses its marked lines and nothing else");
    } else {
      fuzz::Check(after.count(path) && after.at(path) == bytes, "every other file stays byte for byte");
    }
  }
  if (todayChanges) {
    fuzz::Check(after.count(kToday) && after.at(kToday) == todayExpected,
                "today's file loses its marked lines and nothing else");
  }
  for (int year : kYears) {
    const QString index = QStringLiteral("datas/%1/month.qdr").arg(year);
    if (year > kTodayYear) {
      fuzz::Check(after.count(index) == before.count(index) && (!before.count(index) || after.at(index) == before.at(index)),
                  "a later year's index stays");
    }
  }
  CheckFoldersAndIndexes(t, before, after, indexes);

  // A second exit finds nothing more to do but the kept copies: the first
  // of each day now stands in for it and goes.
  store::ShutdownProcessing(t.app);
  fuzz::CheckNoErrorBox(t);
  if (keptCopies.empty()) {
    fuzz::Check(DataFiles(t) == after, "a second exit changes nothing");
  } else {
    std::map<std::tuple<int, int, int>, std::pair<int, QString>> standIn;
    for (const QString& path : keptCopies) {
      const DayCopy& copy = planted.copies.at(path);
      const auto key = std::make_tuple(copy.year, copy.month, copy.day);
      if (!standIn.count(key) || copy.rank < standIn[key].first) standIn[key] = {copy.rank, path};
    }
    const auto second = DataFiles(t);
    for (const auto& [day, copy] : standIn) fuzz::Check(!second.count(copy.second), "a kept copy goes at the next exit");
  }
  return 0;
}
