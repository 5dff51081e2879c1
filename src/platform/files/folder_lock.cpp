#include "platform/files/folder_lock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform::files {

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool FolderLock::TryLock(const QString& folder) {
  if (fd_ >= 0) return true;
  fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
}

}  // namespace platform::files
