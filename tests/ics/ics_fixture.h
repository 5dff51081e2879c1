#pragma once
// A program folder in a temporary directory, quendar-ics run on it in this
// process with a fixed "today", and the local time zone set through TZ.

#include "ics/command_line.h"
#include "test_app.h"
#include "platform/files/codepage.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>

namespace icstest {

struct Outcome {
  int status = -1;
  QString out, err;
};

// Runs quendar-ics with these arguments (the program name is added).
inline Outcome RunIcs(QStringList arguments, QDate today) {
  char *outText = nullptr, *errText = nullptr;
  std::size_t outSize = 0, errSize = 0;
  std::FILE* out = open_memstream(&outText, &outSize);
  std::FILE* err = open_memstream(&errText, &errSize);
  arguments.prepend(QStringLiteral("quendar-ics"));
  Outcome outcome;
  outcome.status = ics::Run(arguments, {today, QStringLiteral("/nonexistent")}, out, err);
  std::fclose(out);
  std::fclose(err);
  outcome.out = QString::fromUtf8(outText, qsizetype(outSize));
  outcome.err = QString::fromUtf8(errText, qsizetype(errSize));
  std::free(outText);
  std::free(errText);
  return outcome;
}

// Every file under a folder with its bytes, and every folder (as "name/").
inline std::map<QString, QByteArray> Snapshot(const QString& root) {
  std::map<QString, QByteArray> all;
  QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QString name = QDir(root).relativeFilePath(path);
    QFile file(path);
    if (it.fileInfo().isDir()) {
      all[name + '/'] = {};
    } else if (file.open(QIODevice::ReadOnly)) {
      all[name] = file.readAll();
    }
  }
  return all;
}

class IcsTest : public ::testing::Test {
 protected:
  // Today is Thursday 10 December 2026 unless a test says otherwise.
  QDate today{2026, 12, 10};

  void SetUp() override {
    const char* zone = std::getenv("TZ");
    savedZone_ = zone ? std::string(zone) : std::string();
    hadZone_ = zone != nullptr;
    SetZone("Asia/Taipei");
  }
  void TearDown() override {
    if (hadZone_) {
      setenv("TZ", savedZone_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  static void SetZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }

  QString Folder() const { return t.dir.path(); }
  // A calendar file beside the program folder, its lines ended with CR LF.
  QString CalendarFile(const QString& text, const QString& name = QStringLiteral("in.ics")) {
    const QString path = files_.path() + '/' + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QByteArray bytes = text.toUtf8();
    bytes.replace("\r\n", "\n").replace("\n", "\r\n");
    file.write(bytes);
    return path;
  }
  // An event file of the usual wrapper around these lines.
  QString Events(const QString& body) {
    return CalendarFile(QStringLiteral("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//Test//EN\n") + body +
                        QStringLiteral("END:VCALENDAR\n"));
  }
  Outcome Import(const QString& file, QStringList extra = {}) {
    return RunIcs(QStringList{QStringLiteral("import"), QStringLiteral("--folder"), Folder()} + extra + QStringList{file},
                  today);
  }
  Outcome Export(QStringList extra = {}) {
    return RunIcs(QStringList{QStringLiteral("export"), QStringLiteral("--folder"), Folder()} + extra, today);
  }
  // The decoded lines of a day file, or nothing when there is none.
  QStringList Day(int year, int month, int day) const {
    const QString relative = QStringLiteral("datas/%1/%2/%3.dat").arg(year).arg(month).arg(day);
    if (!t.Exists(relative)) return {};
    QStringList lines = QString(platform::files::Decode(t.ReadBytes(relative))).split(QStringLiteral("\r\n"));
    lines.removeLast();  // after the last line end
    return lines;
  }

  testsupport::TestApp t{false};

 private:
  QTemporaryDir files_;
  std::string savedZone_;
  bool hadZone_ = false;
};

}  // namespace icstest
