// Writes the initial settings file into a program folder that has none.

#include "shell/settings_file.h"
#include "ui/files/file_ops.h"

#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PROGRAM_FOLDER\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QString settings = folder + "/Quendar.ini";
  try {
    if (!ui::files::FileExists(settings)) ui::files::CreateFile(settings, shell::InitialSettingsBytes());
  } catch (const ui::files::FileError& error) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(error.path), qPrintable(error.reason));
    return 1;
  }
  return 0;
}
