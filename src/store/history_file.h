#pragma once
// The record of how the user followed through on plans, in the data folder:
// the counters file "quendar.qdr" (two signed 16-bit little-endian counts,
// not done first, then done) and the history file "quendar.dat" (the text of
// every plan judged not done, one per line, oldest first).
//
// History lines are handled as raw bytes like day-file lines: what a verdict
// or the sweep moves over keeps its bytes exactly.

#include "platform/files/file_ops.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace shell {
class App;
}

namespace store {

// The fields of the counters file, by their byte offset.
enum class CountField { NotDoneCount = 0, DoneCount = 2 };

struct Counts {
  std::int16_t NotDoneCount = 0;
  std::int16_t DoneCount = 0;
};

inline constexpr std::int16_t kCountLimit = 32767;

// Creates the counters file with both counts 0 when it is missing.
void EnsureCountersFile(shell::App& app);
// The two counts; bytes missing at the end of a short file read as zero.
Counts ReadCounts(shell::App& app);
// The counts with n added to one of them; a count stops at 32767 rather than
// wrap to a negative number.
Counts WithAdded(Counts counts, CountField field, int n);

// The plan's text as the bytes of a day-file line from its 7th character on.
QByteArray PlanTextBytes(const QByteArray& planLine);
// Every record in order, raw; empty when there is no history file.
platform::files::RawLines ReadHistory(shell::App& app);
// Every record as text, the whole file decoded in one pass; empty when there
// is no history file.
QStringList ReadHistoryText(shell::App& app);
// Rewrites the history without the record at a 0-based index, through
// "quendar.~dat" and an atomic replace. An index beyond the last record
// removes nothing; a missing history stays missing.
void DeleteHistoryRecord(shell::App& app, qsizetype index);
// The same, for a record the user picked from a list: only when the record
// at that index still reads as the text shown. False, and the file untouched,
// when the history changed behind the list.
bool DeleteHistoryRecord(shell::App& app, qsizetype index, const QString& shownText);

}  // namespace store
