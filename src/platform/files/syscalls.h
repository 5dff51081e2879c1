#pragma once
// The system calls the file layer changes the disk with, each recorded into
// the durable trace when it succeeds. Every new file operation goes through
// these, so that crash tests see it without further work. They keep the
// calls' own contract: -1 (or false) with errno set on failure.

#include <QString>

#include <sys/types.h>

namespace platform::files::sys {

// Records Create when O_CREAT made the file, Truncate to 0 when O_TRUNC cut
// an existing one.
int Open(const QString& path, int flags, mode_t mode = 0644);
// Writes all of the bytes at the descriptor's position (its end for
// O_APPEND), retrying after EINTR; false on failure.
bool WriteAll(int fd, const QString& path, const char* data, size_t size);
int Truncate(int fd, const QString& path, off_t size);
int SyncFile(int fd, const QString& path);
// Opens, flushes and closes a folder so that the names made or removed in
// it survive a power cut.
int SyncFolder(const QString& folder);
int Rename(const QString& from, const QString& to);
int Unlink(const QString& path);
int MakeFolder(const QString& path, mode_t mode = 0755);
int RemoveFolder(const QString& path);

}  // namespace platform::files::sys
