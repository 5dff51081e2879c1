#include "store/history_file.h"

#include "shell/paths.h"
#include "platform/files/codepage.h"

#include <algorithm>

namespace store {

namespace files = platform::files;

void EnsureCountersFile(shell::App& app) {
  const QString path = shell::CountersPath(app);
  if (!files::FileExists(path)) files::CreateFile(path, QByteArray(4, '\0'));
}

Counts ReadCounts(shell::App& app) {
  const QByteArray bytes = files::ReadBytes(shell::CountersPath(app), 4);
  return {files::Int16At(bytes, 0), files::Int16At(bytes, 2)};
}

Counts WithAdded(Counts counts, CountField field, int n) {
  std::int16_t& count = field == CountField::NotDoneCount ? counts.NotDoneCount : counts.DoneCount;
  count = std::int16_t(std::min<int>(count + n, kCountLimit));
  return counts;
}

QByteArray PlanTextBytes(const QByteArray& planLine) {
  // A line the program wrote starts with six ASCII characters, so the text
  // starts at byte 6 and keeps its bytes; anything else goes by characters.
  bool asciiPrefix = planLine.size() >= 6;
  for (qsizetype i = 0; asciiPrefix && i < 6; ++i) asciiPrefix = uchar(planLine[i]) < 0x80;
  if (asciiPrefix) return planLine.mid(6);
  // Otherwise the text starts where the 7th character does. Its bytes are
  // taken as they stand: decoding and encoding again would turn bytes the code
  // page cannot read into "?" and change the user's text. Six characters take
  // at most twelve bytes; the cut is where the rest decodes to the text.
  const QString text = files::Decode(planLine);
  if (text.size() <= 6) return {};
  const QString head = text.left(6), rest = text.mid(6);
  for (qsizetype cut = 1; cut <= std::min<qsizetype>(planLine.size(), 12); ++cut) {
    // A lead byte at the end of the start decodes only with what follows it,
    // so the start may lack its sixth character.
    const QString start = files::Decode(planLine.first(cut));
    if (start.size() < 5 || !head.startsWith(start)) continue;
    if (files::Decode(planLine.mid(cut)) == rest) return planLine.mid(cut);
  }
  return files::Encode(rest);
}

files::RawLines ReadHistory(shell::App& app) {
  const QString path = shell::HistoryPath(app);
  if (!files::FileExists(path)) return {};
  return files::ReadRawLines(path);
}

QStringList ReadHistoryText(shell::App& app) {
  const QString path = shell::HistoryPath(app);
  if (!files::FileExists(path)) return {};
  return files::TextLines(files::Decode(files::ReadFile(path)));
}

void DeleteHistoryRecord(shell::App& app, qsizetype index) {
  if (!files::FileExists(shell::HistoryPath(app))) return;
  files::RawLines lines = ReadHistory(app);
  if (index >= 0 && index < qsizetype(lines.size())) lines.erase(lines.begin() + index);
  files::ReplaceTextFile(shell::HistoryPath(app), shell::HistoryTempPath(app), lines);
}

bool DeleteHistoryRecord(shell::App& app, qsizetype index, const QString& shownText) {
  // Checked against the text as the list was filled with it.
  const QStringList texts = ReadHistoryText(app);
  if (index < 0 || index >= texts.size() || texts[index] != shownText) return false;
  files::RawLines lines = ReadHistory(app);
  lines.erase(lines.begin() + index);
  files::ReplaceTextFile(shell::HistoryPath(app), shell::HistoryTempPath(app), lines);
  return true;
}

}  // namespace store
