#include "store/journal.h"

#include "shell/app.h"
#include "shell/file_error.h"
#include "shell/paths.h"
#include "store/month_index.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>

#include <algorithm>

namespace store {

namespace files = platform::files;

namespace {

const QByteArray kMagic = QByteArrayLiteral("QdrJnl1\n");
constexpr qsizetype kHeaderSize = 8 + 4 + 16;

QByteArray Digest(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Md5); }

// The update copy of a day file ("5.dat" -> "5.~dat"), like every rewrite.
QString TempPathOf(const QString& path) {
  return path.endsWith(QLatin1String(".dat")) ? path.chopped(4) + QStringLiteral(".~dat") : path + QStringLiteral(".~");
}

// A path a journal may name: inside the data folder, whatever the file says.
bool SafeRelative(const QString& relative) {
  if (relative.isEmpty() || QDir::isAbsolutePath(relative)) return false;
  return !relative.split('/').contains(QStringLiteral(".."));
}

// Journals whose name a foreign file holds, reported already in this run.
QSet<QString>& ReportedForeign() {
  static QSet<QString> reported;
  return reported;
}

}  // namespace

void Journal::AppendHistory(const files::RawLines& records) {
  if (records.empty()) return;
  const QString path = shell::HistoryPath(app_);
  const qint64 size = std::max<qint64>(files::FileSize(path), 0);
  QByteArray bytes;
  // A last line left open by someone else is ended first, so records never run together.
  if (size > 0) {
    const QByteArray last = files::ReadBytesAt(path, size - 1, 1);
    if (last != "\n" && last != "\r") bytes += "\r\n";
  }
  bytes += files::JoinedLines(records);
  steps_.push_back({'H', {}, bytes, size, 0});
}

void Journal::SetCounts(const Counts& after) { steps_.push_back({'C', {}, {}, after.NotDoneCount, after.DoneCount}); }

void Journal::AddToCount(CountField field, int n) { SetCounts(WithAdded(ReadCounts(app_), field, n)); }

void Journal::ReplaceLines(const QString& path, const files::RawLines& lines) {
  steps_.push_back({'D', QDir(shell::DataFolderPath(app_)).relativeFilePath(path), files::JoinedLines(lines)});
}

void Journal::RemoveFile(const QString& path, const QByteArray& held) {
  steps_.push_back({'R', QDir(shell::DataFolderPath(app_)).relativeFilePath(path), Digest(held)});
}

void Journal::TidyYear(int year, int lastMonth) { steps_.push_back({'T', {}, {}, year, lastMonth}); }

// Runs the steps of one journal and flushes what they touched.
class JournalRun {
 public:
  explicit JournalRun(shell::App& app) : app_(app), datas_(shell::DataFolderPath(app)) {}

  static const std::vector<Journal::Step>& StepsOf(const Journal& journal) { return journal.steps_; }

  static QByteArray Encode(const Journal& journal) {
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (const Journal::Step& step : journal.steps_) {
      out << qint8(step.kind);
      switch (step.kind) {
        case 'H': out << qint64(step.a) << step.bytes; break;
        case 'C': out << qint16(step.a) << qint16(step.b); break;
        case 'D':
        case 'R': out << step.path.toUtf8() << step.bytes; break;
        case 'T': out << qint32(step.a) << qint32(step.b); break;
      }
    }
    QByteArray length(4, '\0');
    for (int i = 0; i < 4; ++i) length[i] = char((quint32(body.size()) >> (8 * i)) & 0xFF);
    return kMagic + length + Digest(body) + body;
  }

  enum class Kind { Whole, CutShort, Foreign };
  // What a journal file holds; the steps when it is whole.
  static Kind Decode(const QByteArray& bytes, std::vector<Journal::Step>& steps) {
    if (!bytes.startsWith(kMagic)) {
      // A crash while the journal was written leaves a start of it, or a
      // length whose data never reached the disk (zeros).
      if (kMagic.startsWith(bytes) || std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; })) {
        return Kind::CutShort;
      }
      return Kind::Foreign;
    }
    if (bytes.size() < kHeaderSize) return Kind::CutShort;
    quint32 length = 0;
    for (int i = 0; i < 4; ++i) length |= quint32(uchar(bytes[8 + i])) << (8 * i);
    const QByteArray body = bytes.mid(kHeaderSize);
    if (qsizetype(length) != body.size() || Digest(body) != bytes.mid(12, 16)) return Kind::CutShort;
    QDataStream in(body);
    in.setByteOrder(QDataStream::LittleEndian);
    while (!in.atEnd()) {
      qint8 kind = 0;
      in >> kind;
      Journal::Step step{char(kind), {}, {}};
      QByteArray path;
      qint64 offset = 0;
      qint16 c1 = 0, c2 = 0;
      qint32 t1 = 0, t2 = 0;
      switch (step.kind) {
        case 'H':
          in >> offset >> step.bytes;
          if (offset < 0) return Kind::Foreign;
          step.a = offset;
          break;
        case 'C': in >> c1 >> c2; step.a = c1, step.b = c2; break;
        case 'D':
        case 'R':
          in >> path >> step.bytes;
          step.path = QString::fromUtf8(path);
          // A journal that would reach outside the data folder is none of ours.
          if (!SafeRelative(step.path)) return Kind::Foreign;
          break;
        case 'T':
          in >> t1 >> t2;
          // A year the sweep can reach and a month of it, never a loop over
          // billions of folders.
          if (t1 < 2001 || t1 > 9999 || t2 < 1 || t2 > 12) return Kind::Foreign;
          step.a = t1, step.b = t2;
          break;
        default: return Kind::Foreign;  // a later version's step: not ours to guess at
      }
      if (in.status() != QDataStream::Ok) return Kind::Foreign;
      steps.push_back(std::move(step));
    }
    return Kind::Whole;
  }

  // Brings the disk to what the step says. Each step first looks at what is
  // there, so running it again after a crash changes nothing it had done.
  void Apply(const Journal::Step& step, bool again) {
    switch (step.kind) {
      case 'H': return History(step);
      case 'C': return Counts(step);
      case 'D': return Replace(step);
      case 'R': return Remove(step, again);
      case 'T': return Tidy(step);
    }
  }

  // Waits until everything the steps wrote is on the disk, then removes the
  // journal, for good: a journal that came back after a power cut would be
  // run over the changes made since.
  void Done() {
    for (const QString& path : files_) {
      if (files::FileExists(path)) files::FlushFile(path);
    }
    // The data folder too: its entries (a history or counters file made, a
    // year folder gone) must be on the disk before the journal's removal,
    // which a power cut could otherwise keep without them.
    for (const QString& folder : folders_) {
      if (files::FolderExists(folder)) files::FlushFolder(folder);
    }
    files::RemoveFile(shell::JournalPath(app_));
    files::FlushFolder(datas_);
  }

 private:
  void Touch(const QString& file) {
    if (!files_.contains(file)) files_.append(file);
    TouchFolder(QFileInfo(file).path());
  }
  void TouchFolder(const QString& folder) {
    if (!folders_.contains(folder)) folders_.append(folder);
  }

  void History(const Journal::Step& step) {
    const QString path = shell::HistoryPath(app_);
    Touch(path);
    const qint64 size = files::FileSize(path), offset = step.a;
    if (size == offset + step.bytes.size() && files::ReadBytesAt(path, offset, step.bytes.size()) == step.bytes) return;
    // Cut back whatever a crash left half appended; a history that is
    // shorter than it was (changed from outside) keeps what it has.
    files::WriteAtUnflushed(path, std::clamp<qint64>(size, 0, offset), step.bytes, true);
  }

  void Counts(const Journal::Step& step) {
    const QString path = shell::CountersPath(app_);
    Touch(path);
    const QByteArray want = files::Int16Bytes(std::int16_t(step.a)) + files::Int16Bytes(std::int16_t(step.b));
    if (files::FileExists(path) && files::ReadBytes(path, 4) == want) return;
    files::WriteAtUnflushed(path, 0, want, false);
  }

  void Replace(const Journal::Step& step) {
    const QString path = datas_ + '/' + step.path;
    Touch(path);
    // A rename whose data a power cut lost leaves the file empty or short:
    // the journal holds the whole content to put back.
    if (files::FileSize(path) == step.bytes.size() && files::ReadFile(path) == step.bytes) return;
    files::ReplaceFileUnflushed(path, TempPathOf(path), step.bytes);
  }

  void Remove(const Journal::Step& step, bool again) {
    const QString path = datas_ + '/' + step.path;
    TouchFolder(QFileInfo(path).path());
    if (!files::FileExists(path)) return;
    // A file that holds something else now is not the one whose plans the
    // history got: it stays for a later sweep.
    if (again && Digest(files::ReadFile(path)) != step.bytes) return;
    files::RemoveFile(path);
  }

  void Tidy(const Journal::Step& step) {
    TouchFolder(shell::YearFolderPath(app_, int(step.a)));
    TouchFolder(datas_);
    RemoveEmptyMonths(app_, int(step.a), int(step.b));
  }

  shell::App& app_;
  const QString datas_;
  QStringList files_, folders_;
};

namespace {

void ReportForeign(shell::App& app, const QString& path) {
  if (ReportedForeign().contains(path)) return;
  ReportedForeign().insert(path);
  shell::ReportFileError(
      app, {path, QStringLiteral("這個檔案不是 Quendar 的變更記錄，已原樣保留；在移開它以前，不會記錄任何判定或結算。")});
}

}  // namespace

bool CompleteJournal(shell::App& app) {
  const QString path = shell::JournalPath(app);
  if (files::FolderExists(path)) {
    ReportForeign(app, path);
    return false;
  }
  if (!files::FileExists(path)) return true;
  try {
    std::vector<Journal::Step> steps;
    switch (JournalRun::Decode(files::ReadFile(path), steps)) {
      case JournalRun::Kind::Foreign:
        ReportForeign(app, path);
        return false;
      case JournalRun::Kind::CutShort:
        // The change never began: none of its steps ran before the journal was whole.
        files::RemoveFile(path);
        return true;
      case JournalRun::Kind::Whole:
        break;
    }
    JournalRun run(app);
    for (const Journal::Step& step : steps) run.Apply(step, true);
    run.Done();
    return true;
  } catch (const files::FileError& error) {
    shell::ReportFileError(app, error);
    return false;
  }
}

bool RunChange(shell::App& app, const Journal& journal, Finish finish) {
  if (!CompleteJournal(app)) return false;
  if (journal.Empty()) return true;
  const QString path = shell::JournalPath(app);
  try {
    files::WriteFileUnflushed(path, JournalRun::Encode(journal));
    files::FlushFile(path);
    files::FlushFolder(shell::DataFolderPath(app));
  } catch (const files::FileError&) {
    // Nothing ran yet; a journal left half written would be dropped anyway.
    try {
      files::RemoveFile(path);
    } catch (const files::FileError&) {
    }
    throw;
  }
  JournalRun run(app);
  for (const Journal::Step& step : JournalRun::StepsOf(journal)) run.Apply(step, false);
  if (finish == Finish::AfterRepaint) {
    app.platform.AfterRepaint([&app] { CompleteJournal(app); });
    return true;
  }
  run.Done();
  return true;
}

}  // namespace store
