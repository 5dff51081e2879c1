#include "crash_model.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <optional>
#include <stdexcept>

namespace crash {

namespace {

using Kind = platform::files::DurableOp::Kind;

QString Parent(const QString& path) {
  const qsizetype slash = path.lastIndexOf('/');
  return slash < 0 ? QString() : path.left(slash);
}

bool IsSync(Kind k) { return k == Kind::FileSync || k == Kind::FolderSync; }
bool IsData(Kind k) { return k == Kind::Write || k == Kind::Truncate; }

// One traced operation, with the file (by identity, not by name) and the
// folders it concerns worked out from a replay of the whole run.
struct Step {
  Kind kind;
  QString path, target;  // relative
  qint64 offset = 0;
  QByteArray bytes;
  int file = -1;                  // data and file flushes: which file
  std::vector<QString> folders;   // name changes: the folders whose entries change; folder flush: the folder
};

struct Model {
  std::vector<QByteArray> contents;  // by file identity
  std::map<QString, int> names;
  std::set<QString> folders;
};

Model Start(const Tree& before) {
  Model m;
  for (const auto& [path, bytes] : before.files) {
    m.names[path] = int(m.contents.size());
    m.contents.push_back(bytes);
  }
  m.folders = before.folders;
  return m;
}

int FileNamed(const Model& m, const QString& path) {
  const auto it = m.names.find(path);
  if (it == m.names.end()) throw std::runtime_error(("the trace uses a file that is not there: " + path).toStdString());
  return it->second;
}

void ApplyData(Model& m, const Step& s) {
  QByteArray& data = m.contents[std::size_t(s.file)];
  if (s.kind == Kind::Truncate) {
    if (data.size() > s.offset) data.truncate(qsizetype(s.offset));
    else data.append(QByteArray(qsizetype(s.offset) - data.size(), '\0'));
    return;
  }
  const qsizetype end = qsizetype(s.offset) + s.bytes.size();
  if (data.size() < end) data.append(QByteArray(end - data.size(), '\0'));
  data.replace(qsizetype(s.offset), s.bytes.size(), s.bytes);
}

void ApplyName(Model& m, const Step& s) {
  switch (s.kind) {
    case Kind::Create:
      m.names[s.path] = s.file;
      break;
    case Kind::Rename:
      if (const auto it = m.names.find(s.path); it != m.names.end()) {
        const int file = it->second;
        m.names.erase(it);
        m.names[s.target] = file;
      }
      break;
    case Kind::Unlink:
      m.names.erase(s.path);
      break;
    case Kind::MakeFolder:
      m.folders.insert(s.path);
      break;
    case Kind::RemoveFolder: {
      // Whatever the folder still named goes with it.
      m.folders.erase(s.path);
      const QString prefix = s.path + '/';
      std::erase_if(m.names, [&](const auto& e) { return e.first.startsWith(prefix); });
      std::erase_if(m.folders, [&](const QString& f) { return f.startsWith(prefix); });
      break;
    }
    default:
      break;
  }
}

std::vector<Step> Resolve(const Tree& before, const QString& root, const platform::files::DurableTrace& trace) {
  const QDir base(root);
  Model m = Start(before);
  std::vector<Step> steps;
  for (const platform::files::DurableOp& op : trace) {
    Step s{op.kind, base.relativeFilePath(op.path), op.target.isEmpty() ? QString() : base.relativeFilePath(op.target),
           op.offset, op.bytes, -1, {}};
    switch (s.kind) {
      case Kind::Create:
        s.file = int(m.contents.size());
        m.contents.emplace_back();
        s.folders = {Parent(s.path)};
        break;
      case Kind::Write:
      case Kind::Truncate:
      case Kind::FileSync:
        s.file = FileNamed(m, s.path);
        break;
      case Kind::Rename:
        s.file = FileNamed(m, s.path);
        s.folders = {Parent(s.path), Parent(s.target)};
        break;
      case Kind::Unlink:
      case Kind::MakeFolder:
      case Kind::RemoveFolder:
        s.folders = {Parent(s.path)};
        break;
      case Kind::FolderSync:
        s.folders = {s.path == QLatin1String(".") ? QString() : s.path};
        break;
    }
    if (IsData(s.kind)) ApplyData(m, s);
    else ApplyName(m, s);
    steps.push_back(std::move(s));
  }
  return steps;
}

// Whether a flush among steps (i, k) made step i safe.
bool Safe(const std::vector<Step>& steps, std::size_t i, std::size_t k) {
  const Step& s = steps[i];
  if (IsData(s.kind)) {
    for (std::size_t j = i + 1; j < k; ++j) {
      if (steps[j].kind == Kind::FileSync && steps[j].file == s.file) return true;
    }
    return false;
  }
  for (const QString& folder : s.folders) {
    bool flushed = false;
    for (std::size_t j = i + 1; j < k && !flushed; ++j) {
      flushed = steps[j].kind == Kind::FolderSync && steps[j].folders[0] == folder;
    }
    if (!flushed) return false;
  }
  return true;
}

bool Reachable(const std::set<QString>& folders, QString folder) {
  for (; !folder.isEmpty(); folder = Parent(folder)) {
    if (!folders.count(folder)) return false;
  }
  return true;
}

Tree StateOf(const Tree& before, const std::vector<Step>& steps, std::size_t k, const std::vector<bool>& lost) {
  Model m = Start(before);
  for (std::size_t i = 0; i < k; ++i) {
    const Step& s = steps[i];
    if (s.kind == Kind::Create) m.contents.emplace_back();  // the file exists, named or not
    if (IsSync(s.kind) || lost[i]) continue;
    if (IsData(s.kind)) ApplyData(m, s);
    else ApplyName(m, s);
  }
  Tree t;
  for (const QString& f : m.folders) {
    if (Reachable(m.folders, f)) t.folders.insert(f);
  }
  for (const auto& [path, file] : m.names) {
    if (Reachable(m.folders, Parent(path))) t.files[path] = m.contents[std::size_t(file)];
  }
  return t;
}

QByteArray Key(const Tree& t) {
  QCryptographicHash h(QCryptographicHash::Sha256);
  for (const QString& f : t.folders) h.addData(QByteArray("D") + f.toUtf8() + '\0');
  for (const auto& [path, bytes] : t.files) {
    h.addData(QByteArray("F") + path.toUtf8() + '\0' + QByteArray::number(bytes.size()) + '\0');
    h.addData(bytes);
  }
  return h.result();
}

// The sets of not-yet-safe steps to lose, as masks over `open`.
std::vector<std::vector<bool>> LossChoices(std::size_t n, int fullBound) {
  std::vector<std::vector<bool>> choices;
  if (n <= std::size_t(fullBound)) {
    for (std::size_t mask = 0; mask < (std::size_t(1) << n); ++mask) {
      std::vector<bool> c(n);
      for (std::size_t b = 0; b < n; ++b) c[b] = (mask >> b) & 1;
      choices.push_back(std::move(c));
    }
    return choices;
  }
  choices.emplace_back(n, false);
  choices.emplace_back(n, true);
  for (std::size_t a = 0; a < n; ++a) {
    for (std::size_t b = a; b < n; ++b) {
      std::vector<bool> c(n);
      c[a] = c[b] = true;
      choices.push_back(std::move(c));
    }
  }
  for (std::size_t kept = 1; kept < n; ++kept) {
    std::vector<bool> c(n, true);
    std::fill(c.begin(), c.begin() + std::ptrdiff_t(kept), false);
    choices.push_back(std::move(c));
  }
  return choices;
}

}  // namespace

Tree Snapshot(const QString& root) {
  Tree t;
  const QDir base(root);
  QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    if (QFileInfo(path).isDir()) {
      t.folders.insert(base.relativeFilePath(path));
      continue;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error(("cannot read " + path).toStdString());
    t.files[base.relativeFilePath(path)] = f.readAll();
  }
  return t;
}

void Materialize(const Tree& tree, const QString& root) {
  for (const QString& folder : tree.folders) QDir(root).mkpath(folder);
  for (const auto& [path, bytes] : tree.files) {
    QFile f(root + '/' + path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
      throw std::runtime_error(("cannot write " + f.fileName()).toStdString());
    }
  }
}

CrashStates BuildCrashStates(const Tree& before, const QString& root, const platform::files::DurableTrace& trace,
                             int fullBound) {
  const std::vector<Step> steps = Resolve(before, root, trace);
  CrashStates result;
  std::set<QByteArray> seen;
  for (std::size_t k = 0; k <= steps.size(); ++k) {
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < k; ++i) {
      if (!IsSync(steps[i].kind) && !Safe(steps, i, k)) open.push_back(i);
    }
    for (const std::vector<bool>& choice : LossChoices(open.size(), fullBound)) {
      std::vector<bool> lost(k, false);
      for (std::size_t b = 0; b < open.size(); ++b) lost[open[b]] = choice[b];
      ++result.combinations;
      Tree state = StateOf(before, steps, k, lost);
      if (seen.insert(Key(state)).second) result.states.push_back(std::move(state));
    }
  }
  return result;
}

}  // namespace crash
