#include "store/history_file.h"

#include "shell/paths.h"
#include "ui/files/codepage.h"

namespace store {

namespace files = ui::files;

void EnsureCountersFile(shell::App& app) {
  const QString path = shell::CountersPath(app);
  if (!files::FileExists(path)) files::CreateFile(path, QByteArray(4, '\0'));
}

Counts ReadCounts(shell::App& app) {
  const QByteArray bytes = files::ReadBytes(shell::CountersPath(app), 4);
  return {files::Int16At(bytes, 0), files::Int16At(bytes, 2)};
}

void WriteCounts(shell::App& app, const Counts& counts) {
  files::WriteBytesAt(shell::CountersPath(app), 0,
                      files::Int16Bytes(counts.NotDoneCount) + files::Int16Bytes(counts.DoneCount));
}

Counts AddToCount(shell::App& app, CountField field) {
  const Counts before = ReadCounts(app);
  Counts after = before;
  std::int16_t& count = field == CountField::NotDoneCount ? after.NotDoneCount : after.DoneCount;
  if (count < kCountLimit) ++count;
  WriteCounts(app, after);
  return before;
}

QByteArray PlanTextBytes(const QByteArray& planLine) {
  // A line the program wrote starts with six ASCII characters, so the text
  // starts at byte 6 and keeps its bytes; anything else goes by characters.
  bool asciiPrefix = planLine.size() >= 6;
  for (qsizetype i = 0; asciiPrefix && i < 6; ++i) asciiPrefix = uchar(planLine[i]) < 0x80;
  if (asciiPrefix) return planLine.mid(6);
  return files::Encode(files::Decode(planLine).mid(6));
}

qint64 AppendHistory(shell::App& app, const QByteArray& text) {
  return files::AppendRawLine(shell::HistoryPath(app), text);
}

files::RawLines ReadHistory(shell::App& app) {
  const QString path = shell::HistoryPath(app);
  if (!files::FileExists(path)) return {};
  return files::ReadRawLines(path);
}

void DeleteHistoryRecord(shell::App& app, qsizetype index) {
  if (!files::FileExists(shell::HistoryPath(app))) return;
  files::RawLines lines = ReadHistory(app);
  if (index >= 0 && index < qsizetype(lines.size())) lines.erase(lines.begin() + index);
  files::ReplaceTextFile(shell::HistoryPath(app), shell::HistoryTempPath(app), lines);
}

}  // namespace store
