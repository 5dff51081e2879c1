// The counters file and the history file with any content: reading the
// counts, adding to one, reading the history and deleting one record.
//
// Input:
//   byte 0    bits 0-2  the counters file's length, 0 to 6 bytes; 7: no file
//             bit 3     the count to add to: 0 not done, 1 done
//             bit 4     there is no history file
//   byte 1    the history record to delete (0-based; may lie beyond the last)
//   then      the counters file's bytes, then the history file

#include "fuzz_support.h"
#include "shell/app.h"
#include "store/history_file.h"
#include "store/journal.h"

#include <QDir>

#include <algorithm>

namespace {

namespace files = platform::files;
const QString kCounters = QStringLiteral("datas/quendar.qdr");
const QString kHistory = QStringLiteral("datas/quendar.dat");

void CheckCounters(testsupport::TestApp& t, const std::optional<QByteArray>& counters, store::CountField field) {
  store::EnsureCountersFile(t.app);
  const QByteArray before = counters.value_or(QByteArray(4, '\0'));
  fuzz::Check(fuzz::FileBytes(t, kCounters) == before, "an existing counters file is not touched");

  const store::Counts counts = store::ReadCounts(t.app);
  fuzz::Check(counts.NotDoneCount == files::Int16At(before, 0) && counts.DoneCount == files::Int16At(before, 2),
              "the counts are the two little-endian Integers, short files padded with zeros");

  store::Journal change(t.app);
  change.AddToCount(field);
  store::RunChange(t.app, change, store::Finish::Now);
  const int offset = int(field);
  const std::int16_t old = files::Int16At(before, offset);
  const QByteArray after = *fuzz::FileBytes(t, kCounters);
  fuzz::Check(files::Int16At(after, offset) == (old == store::kCountLimit ? old : std::int16_t(old + 1)),
              "the count grows by one, and stays at 32767");
  fuzz::Check(files::Int16At(after, 2 - offset) == files::Int16At(before, 2 - offset), "the other count stays");
  fuzz::Check(after.size() == std::max<qsizetype>(before.size(), 4), "the file holds both counts");
  fuzz::Check(after.mid(4) == before.mid(4), "bytes after the counts stay");
}

void CheckHistory(testsupport::TestApp& t, const std::optional<QByteArray>& history, int record) {
  const files::RawLines lines = store::ReadHistory(t.app);
  if (!history) fuzz::Check(lines.empty(), "a missing history lists as empty");

  store::DeleteHistoryRecord(t.app, record);
  const auto after = fuzz::FileBytes(t, kHistory);
  if (!history) {
    fuzz::Check(!after, "deleting from a missing history creates nothing");
    return;
  }
  files::RawLines expected = lines;
  if (record < int(expected.size())) expected.erase(expected.begin() + record);
  fuzz::Check(after == fuzz::Joined(expected), "the delete keeps every other record, in order, byte for byte");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int countersLength = data[0] & 7;
  const auto field = (data[0] & 8) ? store::CountField::DoneCount : store::CountField::NotDoneCount;
  const bool noHistory = data[0] & 16;
  const int record = data[1];
  const QByteArray rest = fuzz::Bytes(data + 2, size - 2);

  testsupport::TestApp t;
  std::optional<QByteArray> counters, history;
  if (countersLength < 7) counters = rest.left(countersLength);
  if (!noHistory) history = rest.mid(countersLength < 7 ? countersLength : 0);
  QDir().mkpath(t.Path(QStringLiteral("datas")));
  if (counters) t.WriteBytes(kCounters, *counters);
  if (history) t.WriteBytes(kHistory, *history);

  CheckCounters(t, counters, field);
  CheckHistory(t, history, record);
  fuzz::CheckNoErrorBox(t);
  return 0;
}
