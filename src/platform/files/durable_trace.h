#pragma once
// A record of every operation of the file layer that changes what the disk
// keeps, taken while a test asks for it. Crash tests replay prefixes and
// subsets of it to build the states a power cut could leave behind.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace platform::files {

struct DurableOp {
  enum class Kind { Create, Write, Truncate, FileSync, Rename, Unlink, MakeFolder, RemoveFolder, FolderSync };
  Kind kind;
  QString path;    // the file or folder; for a rename, where it came from
  QString target;  // a rename's new name
  qint64 offset = 0;  // Write: where the bytes go; Truncate: the new size
  QByteArray bytes;   // Write: what went there
};

using DurableTrace = std::vector<DurableOp>;

// Starts a fresh record; until TakeTrace, every successful durable operation
// is appended to it.
void StartTrace();
// Ends the record and hands it over.
DurableTrace TakeTrace();

}  // namespace platform::files
