#pragma once
// A whole App on a temporary program folder with the fake platform, wired
// as the program wires it: TestApp t; t.app.form1.Label5[9].Click();

#include "fake_platform.h"
#include "shell/app.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

class TestApp {
 public:
  // Wires the App and, unless told not to, writes a good settings file.
  explicit TestApp(bool withSettings = true);

  // Runs the start-up; false when it refused to start.
  bool Start();

  QString Path(const QString& relative) const;  // inside the program folder
  // Writes a file (folders made as needed), lines joined with CR LF each,
  // encoded in the program's code page.
  void WriteLines(const QString& relative, const QStringList& lines) const;
  void WriteBytes(const QString& relative, const QByteArray& bytes) const;
  QByteArray ReadBytes(const QString& relative) const;
  bool Exists(const QString& relative) const;
  // Every file and folder under the program folder, relative, sorted.
  QStringList Tree() const;

  QTemporaryDir dir;
  FakePlatform platform;
  std::unique_ptr<shell::App> owned;
  shell::App& app;
};

// Bytes of lines in the program's code page, each ended with CR LF.
QByteArray Cp950Lines(const QStringList& lines);

}  // namespace testsupport
