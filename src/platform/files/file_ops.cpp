#include "platform/files/file_ops.h"

#include "platform/files/codepage.h"
#include "platform/files/syscalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::files {

namespace {

int faultCountdown = 0;
std::uint64_t flushes = 0;

[[noreturn]] void Fail(const QString& path, const QString& reason) {
  throw FileError{path, reason};
}

[[noreturn]] void FailErrno(const QString& path) {
  Fail(path, QString::fromLocal8Bit(std::strerror(errno)));
}

// Each changing operation passes here first; the seam fires on the chosen one.
void CountOperation(const QString& path) {
  if (faultCountdown > 0 && --faultCountdown == 0) {
    Fail(path, QStringLiteral("Input/output error"));
  }
}

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

void WriteAll(int fd, const QByteArray& bytes, const QString& path) {
  if (!sys::WriteAll(fd, path, bytes.constData(), size_t(bytes.size()))) FailErrno(path);
}

int Sync(int fd, const QString& path) {
  ++flushes;
  return sys::SyncFile(fd, path);
}

int SyncFolder(const QString& folder) {
  ++flushes;
  return sys::SyncFolder(folder);
}

// Makes a rename inside the folder survive a power cut.
void SyncFolderOf(const QString& path) { SyncFolder(QFileInfo(path).absolutePath()); }

// Writes a whole file at tempPath and, unless told not to, flushes it to the disk.
void WriteTemp(const QString& tempPath, const QByteArray& bytes, bool flush = true) {
  CountOperation(tempPath);
  const int fd = sys::Open(tempPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC);
  if (fd < 0) FailErrno(tempPath);
  try {
    WriteAll(fd, bytes, tempPath);
    if (flush && Sync(fd, tempPath) != 0) FailErrno(tempPath);
  } catch (const FileError&) {
    ::close(fd);
    sys::Unlink(tempPath);
    throw;
  }
  if (::close(fd) != 0) {
    const int saved = errno;
    sys::Unlink(tempPath);
    errno = saved;
    FailErrno(tempPath);
  }
}

void RenameOver(const QString& from, const QString& to, bool flush = true) {
  try {
    CountOperation(to);
    if (sys::Rename(from, to) != 0) FailErrno(to);
  } catch (const FileError&) {
    sys::Unlink(from);
    throw;
  }
  if (flush) SyncFolderOf(to);
}

// Opens a file for writing, creating it when missing; the caller closes it.
int OpenForWriting(const QString& path, int flags) {
  CountOperation(path);
  const int fd = sys::Open(path, O_WRONLY | O_CREAT | O_CLOEXEC | flags);
  if (fd < 0) FailErrno(path);
  return fd;
}

void Close(int fd, const QString& path) {
  if (::close(fd) != 0) FailErrno(path);
}

void FlushPath(const QString& path, bool folder) {
  if (folder) {
    if (SyncFolder(path) != 0) FailErrno(path);
    return;
  }
  const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) FailErrno(path);
  if (Sync(fd, path) != 0) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    FailErrno(path);
  }
  ::close(fd);
}

}  // namespace

bool FileExists(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && info.isFile();
}

bool FolderExists(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && info.isDir();
}

QStringList ListFiles(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

bool FolderHasFiles(const QString& folder) { return !ListFiles(folder).isEmpty(); }

bool FolderWritable(const QString& folder) { return ::access(Native(folder).constData(), W_OK | X_OK) == 0; }

namespace {
// Calls line(start, length) for each line of a text of n characters.
template <typename Text, typename F>
void ForEachLine(const Text& all, qsizetype n, F line) {
  qsizetype start = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const auto c = all[i];
    if (c != '\r' && c != '\n') continue;
    line(start, i - start);
    if (c == '\r' && i + 1 < n && all[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) line(start, n - start);
}
}  // namespace

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) Fail(path, file.errorString());
  const QByteArray all = file.readAll();
  if (file.error() != QFileDevice::NoError) Fail(path, file.errorString());
  return all;
}

RawLines ReadRawLines(const QString& path) { return RawLinesOf(ReadFile(path)); }

RawLines RawLinesOf(const QByteArray& all) {
  RawLines lines;
  ForEachLine(all, all.size(), [&](qsizetype start, qsizetype length) { lines.push_back(all.mid(start, length)); });
  return lines;
}

QStringList TextLines(QStringView text) {
  QStringList lines;
  ForEachLine(text, text.size(), [&](qsizetype start, qsizetype length) {
    lines.append(text.sliced(start, length).toString());
  });
  return lines;
}

QByteArray ReadBytes(const QString& path, qint64 maxBytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) Fail(path, file.errorString());
  const QByteArray bytes = file.read(maxBytes);
  if (file.error() != QFileDevice::NoError) Fail(path, file.errorString());
  return bytes;
}

void MakeFolder(const QString& path) {
  CountOperation(path);
  if (sys::MakeFolder(path) != 0 && errno != EEXIST) FailErrno(path);
}

bool RemoveFolder(const QString& path) {
  try {
    CountOperation(path);
  } catch (const FileError&) {
    return false;
  }
  return sys::RemoveFolder(path) == 0;
}

void RemoveFile(const QString& path) {
  CountOperation(path);
  if (sys::Unlink(path) != 0 && errno != ENOENT) FailErrno(path);
}

void RenameFile(const QString& from, const QString& to) {
  CountOperation(to);
  if (sys::Rename(from, to) != 0) FailErrno(to);
  SyncFolderOf(to);
}

qint64 AppendRawLine(const QString& path, const QByteArray& line) {
  CountOperation(path);
  const int fd = sys::Open(path, O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC);
  if (fd < 0) FailErrno(path);
  const off_t before = ::lseek(fd, 0, SEEK_END);
  try {
    if (before < 0) FailErrno(path);
    QByteArray bytes;
    char last = '\n';
    if (before > 0 && ::pread(fd, &last, 1, before - 1) != 1) FailErrno(path);
    if (last != '\n' && last != '\r') bytes += "\r\n";
    bytes += line;
    bytes += "\r\n";
    WriteAll(fd, bytes, path);
    if (Sync(fd, path) != 0) FailErrno(path);
  } catch (const FileError&) {
    // A half-written line would corrupt the file: cut it back.
    if (before >= 0 && sys::Truncate(fd, path, before) != 0) {
      // Nothing more can be done; the error below says what failed.
    }
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0) FailErrno(path);
  return qint64(before);
}

qint64 AppendLine(const QString& path, const QString& line) { return AppendRawLine(path, Encode(line)); }

QByteArray JoinedLines(const RawLines& lines) {
  QByteArray bytes;
  for (const QByteArray& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

void ReplaceTextFile(const QString& path, const QString& tempPath, const RawLines& lines) {
  WriteTemp(tempPath, JoinedLines(lines));
  RenameOver(tempPath, path);
}

void CreateFile(const QString& path, const QByteArray& bytes) {
  const QString tempPath = path + QStringLiteral(".~new");
  WriteTemp(tempPath, bytes);
  RenameOver(tempPath, path);
}

void WriteBytesAt(const QString& path, qint64 offset, const QByteArray& bytes) {
  CountOperation(path);
  const int fd = sys::Open(path, O_RDWR | O_CLOEXEC);
  if (fd < 0) FailErrno(path);
  try {
    if (::lseek(fd, off_t(offset), SEEK_SET) < 0) FailErrno(path);
    WriteAll(fd, bytes, path);
    if (Sync(fd, path) != 0) FailErrno(path);
  } catch (const FileError&) {
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0) FailErrno(path);
}

std::int16_t Int16At(const QByteArray& bytes, qsizetype offset) {
  auto at = [&](qsizetype i) -> std::uint16_t {
    return i < bytes.size() ? std::uint8_t(bytes[i]) : 0;
  };
  return std::int16_t(std::uint16_t(at(offset) | (at(offset + 1) << 8)));
}

double DoubleAt(const QByteArray& bytes, qsizetype offset) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) {
    const qsizetype at = offset + i;
    bits = (bits << 8) | (at < bytes.size() ? std::uint8_t(bytes[at]) : 0);
  }
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

QByteArray Int16Bytes(std::int16_t value) {
  const auto u = std::uint16_t(value);
  QByteArray bytes(2, '\0');
  bytes[0] = char(u & 0xFF);
  bytes[1] = char(u >> 8);
  return bytes;
}

qint64 FileSize(const QString& path) {
  struct stat info;
  if (::stat(Native(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return qint64(info.st_size);
}

QByteArray ReadBytesAt(const QString& path, qint64 offset, qint64 maxBytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || !file.seek(offset)) Fail(path, file.errorString());
  const QByteArray bytes = file.read(maxBytes);
  if (file.error() != QFileDevice::NoError) Fail(path, file.errorString());
  return bytes;
}

void WriteFileUnflushed(const QString& path, const QByteArray& bytes) {
  const int fd = OpenForWriting(path, O_TRUNC);
  try {
    WriteAll(fd, bytes, path);
  } catch (const FileError&) {
    ::close(fd);
    throw;
  }
  Close(fd, path);
}

void WriteAtUnflushed(const QString& path, qint64 offset, const QByteArray& bytes, bool endAfter) {
  const int fd = OpenForWriting(path, 0);
  try {
    if (::lseek(fd, off_t(offset), SEEK_SET) < 0) FailErrno(path);
    WriteAll(fd, bytes, path);
    if (endAfter && sys::Truncate(fd, path, off_t(offset + bytes.size())) != 0) FailErrno(path);
  } catch (const FileError&) {
    ::close(fd);
    throw;
  }
  Close(fd, path);
}

void ReplaceFileUnflushed(const QString& path, const QString& tempPath, const QByteArray& bytes) {
  WriteTemp(tempPath, bytes, false);
  RenameOver(tempPath, path, false);
}

void FlushFile(const QString& path) { FlushPath(path, false); }
void FlushFolder(const QString& path) { FlushPath(path, true); }
std::uint64_t FlushCount() { return flushes; }

void FailOperation(int n) { faultCountdown = n; }
void ClearFaults() { faultCountdown = 0; }

}  // namespace platform::files
