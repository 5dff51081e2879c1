#pragma once
// The lock on a program folder. The planner holds it for as long as it runs;
// the iCalendar import takes it before it changes a file, so no file ever
// changes under the running planner. Locking the folder itself creates
// nothing in it, and the lock ends with the process that holds it.

#include <QString>

namespace platform::files {

class FolderLock {
 public:
  FolderLock() = default;
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // False when another holder has the folder locked. A folder that cannot be
  // opened has no holder either, so that gives true with nothing held.
  bool TryLock(const QString& folder);

 private:
  int fd_ = -1;
};

}  // namespace platform::files
