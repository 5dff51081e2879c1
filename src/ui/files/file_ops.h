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

namespace ui::files {

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

// --- reading (a file that cannot be read throws FileError)
// Lines end with CR LF, LF or CR; a last line without an end still counts.
RawLines ReadRawLines(const QString& path);
// The same for bytes already read.
RawLines RawLinesOf(const QByteArray& bytes);
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
// run together. Returns the file's size before the append, for an undo.
qint64 AppendLine(const QString& path, const QString& line);
qint64 AppendRawLine(const QString& path, const QByteArray& line);
// Cuts a file back to a size it had (the undo of an append).
void TruncateFile(const QString& path, qint64 size);
// Replaces a text file: the lines go with CR LF into the temporary sibling,
// which is flushed to the disk and then renamed over the file in one atomic
// step, so the old or the new content is always complete on disk.
void ReplaceTextFile(const QString& path, const QString& tempPath, const RawLines& lines);
// Overwrites bytes at an offset of an existing file without truncating it.
void WriteBytesAt(const QString& path, qint64 offset, const QByteArray& bytes);
// Creates a file with exactly these bytes, through a temporary sibling.
void CreateFile(const QString& path, const QByteArray& bytes);

// --- little-endian fields of binary files; bytes beyond the end read as zero
std::int16_t Int16At(const QByteArray& bytes, qsizetype offset);
double DoubleAt(const QByteArray& bytes, qsizetype offset);
QByteArray Int16Bytes(std::int16_t value);

// --- fault seam for tests: the n-th changing operation from now on (1 = the
// next one) fails as if the disk had refused it.
void FailOperation(int n);
void ClearFaults();

}  // namespace ui::files
