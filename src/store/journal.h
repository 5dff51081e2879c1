#pragma once
// Changes that span files (a verdict: history, counts, day file; the exit's
// sweep: history, counts, day files, folders) go through one journal,
// datas/quendar.~jnl. It says what the change will leave on the disk, in
// steps that are safe to run again; it is flushed once, then the steps run,
// then the files they touched are flushed and the journal goes. A crash at
// any moment leaves either a journal cut short (the change never began: it
// is dropped) or a whole one (the change is completed from it), so every
// plan ends up counted exactly once.
//
// On the disk: the 8 bytes "QdrJnl1\n", the body's length (32-bit
// little-endian), the MD5 of the body, the body: a list of steps, each a
// letter and its fields (little-endian integers, byte strings with a 32-bit
// length, paths relative to the data folder):
//   H offset bytes     the history holds exactly these bytes from offset on
//   C notDone done     the counts
//   D path bytes       the file holds exactly these bytes
//   R path md5         the file goes, if it still holds what had that MD5
//   T year lastMonth   the year's emptied months (up to lastMonth) go

#include "store/history_file.h"
#include "platform/files/file_ops.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace shell {
class App;
}

namespace store {

class Journal {
 public:
  explicit Journal(shell::App& app) : app_(app) {}

  // The history gets these records after what it holds now.
  void AppendHistory(const platform::files::RawLines& records);
  void SetCounts(const Counts& after);
  // The counts the file holds now, with n added to one of them (saturating).
  void AddToCount(CountField field, int n = 1);
  // A file (a day file) gets these lines, replaced through its "~" sibling.
  void ReplaceLines(const QString& path, const platform::files::RawLines& lines);
  // A file goes; held is what it holds now.
  void RemoveFile(const QString& path, const QByteArray& held);
  void TidyYear(int year, int lastMonth);

  bool Empty() const { return steps_.empty(); }

  struct Step {
    char kind;
    QString path;  // relative to the data folder
    QByteArray bytes;
    qint64 a = 0, b = 0;
  };

 private:
  friend class JournalRun;
  shell::App& app_;
  std::vector<Step> steps_;
};

enum class Finish {
  Now,           // the touched files are flushed and the journal goes before this returns
  AfterRepaint,  // the platform does that once the windows show the change
};

// Completes a change a crash or a failed step left: steps already on the disk
// are left as they are, the others done; a journal cut short is removed and
// nothing else touched. False, with the failure reported, when the journal
// cannot be completed or its name holds a file that is not one (that file is
// left in place and reported once): no other change may run then.
bool CompleteJournal(shell::App& app);

// Completes any earlier change, writes the journal and flushes it, then runs
// its steps. False, with nothing done, when an earlier change stands in the
// way (already reported). A step that fails throws FileError and leaves the
// journal, so the next change, start or exit completes it.
bool RunChange(shell::App& app, const Journal& journal, Finish finish);

}  // namespace store
