#pragma once
// The states a power cut can leave a folder in, built from a trace of the
// durable operations that ran on it.
//
// The model is the abstract one for POSIX file systems: a crash after the
// first k operations keeps each of them that a later flush within those k
// made safe, and of the others any subset. A file flush makes safe the
// earlier writes and truncations of that file (whatever its name then); a
// folder flush makes safe the earlier creations, renames, removals and new
// or removed folders among its entries. A write is kept or lost as a whole.
// File contents and names are kept apart, as the disk keeps them: a file
// whose creation was lost still got its writes, it just has no name; a
// rename whose source name was lost moves nothing.

#include "platform/files/durable_trace.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <set>
#include <vector>

namespace crash {

// A folder's files and subfolders, paths relative to it.
struct Tree {
  std::map<QString, QByteArray> files;
  std::set<QString> folders;
  bool operator==(const Tree&) const = default;
};

Tree Snapshot(const QString& root);
// Writes the tree into an empty folder.
void Materialize(const Tree& tree, const QString& root);

struct CrashStates {
  std::vector<Tree> states;  // each distinct state once
  long combinations = 0;     // kept subsets tried over all prefixes
};

// Every crash state of the traced run that started from `before`. Where more
// than `fullBound` operations of a prefix are not yet safe, the subsets tried
// are: none lost, all lost, each single one lost, each pair lost, and each
// in-order prefix of them kept (the rest lost).
CrashStates BuildCrashStates(const Tree& before, const QString& root, const platform::files::DurableTrace& trace,
                             int fullBound = 10);

}  // namespace crash
