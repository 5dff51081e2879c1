#include "test_app.h"

#include "app/wiring.h"
#include "shell/settings_file.h"
#include "shell/startup.h"
#include "platform/files/codepage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

namespace {
std::unique_ptr<shell::App> MakeApp(FakePlatform& platform, const QString& folder) {
  platform.programFolder = folder;
  auto app = std::make_unique<shell::App>(platform, folder);
  app::Wire(*app);
  return app;
}
}  // namespace

TestApp::TestApp(bool withSettings) : owned(MakeApp(platform, dir.path())), app(*owned) {
  if (withSettings) WriteBytes("Quendar.ini", shell::InitialSettingsBytes());
}

bool TestApp::Start() { return shell::Start(app); }

QString TestApp::Path(const QString& relative) const { return dir.path() + '/' + relative; }

void TestApp::WriteLines(const QString& relative, const QStringList& lines) const {
  WriteBytes(relative, Cp950Lines(lines));
}

void TestApp::WriteBytes(const QString& relative, const QByteArray& bytes) const {
  const QString path = Path(relative);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
  file.write(bytes);
}

QByteArray TestApp::ReadBytes(const QString& relative) const {
  QFile file(Path(relative));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

bool TestApp::Exists(const QString& relative) const { return QFileInfo::exists(Path(relative)); }

QStringList TestApp::Tree() const {
  QStringList entries;
  QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) entries.append(QDir(dir.path()).relativeFilePath(it.next()));
  entries.sort();
  return entries;
}

QByteArray Cp950Lines(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += platform::files::Encode(line) + "\r\n";
  return bytes;
}

}  // namespace testsupport
