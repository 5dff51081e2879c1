// Writes the initial settings file and the alarm sound into a program folder
// that has none of them; the user's own files are never replaced.

#include "chime.h"
#include "shell/settings_file.h"
#include "platform/files/file_ops.h"

#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PROGRAM_FOLDER\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QString settings = folder + "/Quendar.ini";
  const QString sound = folder + "/alarm.wav";
  try {
    if (!platform::files::FileExists(settings)) platform::files::CreateFile(settings, shell::InitialSettingsBytes());
    if (!platform::files::FileExists(sound)) platform::files::CreateFile(sound, chime::AlarmWav());
  } catch (const platform::files::FileError& error) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(error.path), qPrintable(error.reason));
    return 1;
  }
  return 0;
}
