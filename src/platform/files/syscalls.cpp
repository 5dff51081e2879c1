#include "platform/files/syscalls.h"

#include "platform/files/durable_trace.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::files {

namespace {

bool tracing = false;
DurableTrace trace;

void Record(DurableOp::Kind kind, const QString& path, const QString& target = {}, qint64 offset = 0,
            const QByteArray& bytes = {}) {
  if (tracing) trace.push_back(DurableOp{kind, path, target, offset, bytes});
}

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

}  // namespace

void StartTrace() {
  trace.clear();
  tracing = true;
}

DurableTrace TakeTrace() {
  tracing = false;
  return std::exchange(trace, {});
}

namespace sys {

int Open(const QString& path, int flags, mode_t mode) {
  struct stat before;
  const bool existed = ::stat(Native(path).constData(), &before) == 0;
  const int fd = ::open(Native(path).constData(), flags, mode);
  if (fd < 0) return fd;
  if (!existed && (flags & O_CREAT)) {
    Record(DurableOp::Kind::Create, path);
  } else if (existed && (flags & O_TRUNC) && before.st_size > 0) {
    Record(DurableOp::Kind::Truncate, path, {}, 0);
  }
  return fd;
}

bool WriteAll(int fd, const QString& path, const char* data, size_t size) {
  off_t offset = 0;
  if (tracing) {
    // An appending descriptor writes at the end whatever its position says.
    struct stat st;
    offset = (::fcntl(fd, F_GETFL) & O_APPEND) && ::fstat(fd, &st) == 0 ? st.st_size : ::lseek(fd, 0, SEEK_CUR);
  }
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      // What did reach the file is on its way to the disk all the same.
      if (done > 0) Record(DurableOp::Kind::Write, path, {}, offset, QByteArray(data, qsizetype(done)));
      return false;
    }
    done += size_t(n);
  }
  Record(DurableOp::Kind::Write, path, {}, offset, QByteArray(data, qsizetype(size)));
  return true;
}

int Truncate(int fd, const QString& path, off_t size) {
  const int rc = ::ftruncate(fd, size);
  if (rc == 0) Record(DurableOp::Kind::Truncate, path, {}, qint64(size));
  return rc;
}

int SyncFile(int fd, const QString& path) {
  const int rc = ::fsync(fd);
  if (rc == 0) Record(DurableOp::Kind::FileSync, path);
  return rc;
}

int SyncFolder(const QString& folder) {
  const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return fd;
  const int rc = ::fsync(fd);
  const int saved = errno;
  ::close(fd);
  if (rc == 0) Record(DurableOp::Kind::FolderSync, folder);
  errno = saved;
  return rc;
}

int Rename(const QString& from, const QString& to) {
  const int rc = std::rename(Native(from).constData(), Native(to).constData());
  if (rc == 0) Record(DurableOp::Kind::Rename, from, to);
  return rc;
}

int Unlink(const QString& path) {
  const int rc = ::unlink(Native(path).constData());
  if (rc == 0) Record(DurableOp::Kind::Unlink, path);
  return rc;
}

int MakeFolder(const QString& path, mode_t mode) {
  const int rc = ::mkdir(Native(path).constData(), mode);
  if (rc == 0) Record(DurableOp::Kind::MakeFolder, path);
  return rc;
}

int RemoveFolder(const QString& path) {
  const int rc = ::rmdir(Native(path).constData());
  if (rc == 0) Record(DurableOp::Kind::RemoveFolder, path);
  return rc;
}

}  // namespace sys
}  // namespace platform::files
