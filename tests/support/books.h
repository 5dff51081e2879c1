#pragma once
// What a program folder's data holds, read from its files the way a careful
// auditor would: where each plan text stands, the history and the counts,
// and every way in which a file is not as the program writes it. Crash tests
// compare this with what the program had done before it was cut short.

#include <QDate>
#include <QString>
#include <QStringList>

#include <map>
#include <utility>
#include <vector>

namespace testsupport {

struct Books {
  std::map<QString, int> inDayFiles;        // plan text -> unmarked lines in day files
  std::map<QString, int> markedInDayFiles;  // plan text -> marked lines
  std::map<QString, QDate> dayOf;           // plan text -> the day file it stands in
  QStringList notes;                        // every day file's note line
  std::map<QString, int> inHistory;         // record -> lines of the history
  int historyLines = 0;
  int notDone = 0, done = 0;
  // Temporary copies of day files (path relative to the program folder);
  // the history's copy has no day.
  std::vector<std::pair<QString, QDate>> copies;
  // Files the layout has no place for, relative to the program folder.
  QStringList strangers;
  // Files that are not well-formed.
  QStringList problems;
  // Month indexes that disagree with their year's folders, and month
  // folders left empty: no plan is at stake, but the calendar's books are
  // not tidy.
  QStringList untidy;

  int InDay(const QString& text) const { return At(inDayFiles, text); }
  int Marked(const QString& text) const { return At(markedInDayFiles, text); }
  int InHistory(const QString& text) const { return At(inHistory, text); }

 private:
  static int At(const std::map<QString, int>& m, const QString& text) {
    const auto it = m.find(text);
    return it == m.end() ? 0 : it->second;
  }
};

// Reads programFolder/datas. A tidy month index lists exactly the month
// folders of its year, each of which holds a day file, and a year folder
// has at least one index line.
Books ReadBooks(const QString& programFolder);

// A text file as the program writes it: whole CR LF lines and nothing else.
bool WholeLines(const QByteArray& bytes);

}  // namespace testsupport
