#pragma once
// The program's file steps on the real file system. Tests use real temporary
// folders; the fault seam below makes a chosen operation fail so that they can
// show that a failure loses nothing.
//
// Looking things up never fails: a path that cannot be seen is simply absent.
// Every operation that changes the disk throws FileError when it fails and
// leaves the files as they were before it.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace platform::files {

struct FileError {
  QString path;
  QString reason;  // the system's own words
};

using RawLines = std::vector<QByteArray>;  // lines without their line ends

// --- looking up
bool FileExists(const QString& path);
bool FolderExists(const QString& path);
// Names of the ordinary files in a folder (no folders, no hidden files), in
// name order; empty when the folder does not exist.
QStringList ListFiles(const QString& folder);
bool FolderHasFiles(const QString& folder);
// False when this program may not add or remove entries in the folder.
bool FolderWritable(const QString& folder);

// --- reading (a file that cannot be read throws FileError)
// Lines end with CR LF, LF or CR; a last line without an end still counts.
RawLines ReadRawLines(const QString& path);
// The same for bytes already read.
RawLines RawLinesOf(const QByteArray& bytes);
// Lines as a text file holds them, each ended with CR LF.
QByteArray JoinedLines(const RawLines& lines);
// The whole file.
QByteArray ReadFile(const QString& path);
// A decoded text cut into lines by the same rules as ReadRawLines.
QStringList TextLines(QStringView text);
// The file's first maxBytes bytes (fewer when it is shorter).
QByteArray ReadBytes(const QString& path, qint64 maxBytes);

// --- changing
void MakeFolder(const QString& path);
// Removes an empty folder; false when it is not empty or cannot go.
bool RemoveFolder(const QString& path);
void RemoveFile(const QString& path);
// Renames a file over another in one step; a failure leaves both as they were.
void RenameFile(const QString& from, const QString& to);
// Appends one line with CR LF, creating the file when it is missing. A last
// line left without its line end is completed first, so two records never
// run together. Returns the file's size before the append.
qint64 AppendLine(const QString& path, const QString& line);
qint64 AppendRawLine(const QString& path, const QByteArray& line);
// Replaces a text file: the lines go with CR LF into the temporary sibling,
// which is flushed to the disk and then renamed over the file in one atomic
// step, so the old or the new content is always complete on disk.
void ReplaceTextFile(const QString& path, const QString& tempPath, const RawLines& lines);
// Overwrites bytes at an offset of an existing file without truncating it.
void WriteBytesAt(const QString& path, qint64 offset, const QByteArray& bytes);
// Creates a file with exactly these bytes, through a temporary sibling.
void CreateFile(const QString& path, const QByteArray& bytes);

// --- steps whose flush comes later: a change that a journal on the disk
// already describes writes its files with these and flushes them all at its
// end, so it waits for the disk once instead of once per file.
// The file's size, or -1 when there is no such file.
qint64 FileSize(const QString& path);
// At most maxBytes bytes from an offset (fewer at the end of the file).
QByteArray ReadBytesAt(const QString& path, qint64 offset, qint64 maxBytes);
// Creates or truncates a file and writes these bytes, in place.
void WriteFileUnflushed(const QString& path, const QByteArray& bytes);
// Writes bytes at an offset, creating the file when missing; with endAfter
// the file ends right after them.
void WriteAtUnflushed(const QString& path, qint64 offset, const QByteArray& bytes, bool endAfter);
// Writes the temporary sibling and renames it over the file.
void ReplaceFileUnflushed(const QString& path, const QString& tempPath, const QByteArray& bytes);
// Waits until a file's data, or a folder's entries, are on the disk.
void FlushFile(const QString& path);
void FlushFolder(const QString& path);
// How many times the file layer has waited for the disk so far.
std::uint64_t FlushCount();

// --- little-endian fields of binary files; bytes beyond the end read as zero
std::int16_t Int16At(const QByteArray& bytes, qsizetype offset);
double DoubleAt(const QByteArray& bytes, qsizetype offset);
QByteArray Int16Bytes(std::int16_t value);

// --- fault seam for tests: the n-th changing operation from now on (1 = the
// next one) fails as if the disk had refused it.
void FailOperation(int n);
void ClearFaults();

}  // namespace platform::files
