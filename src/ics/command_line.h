#pragma once
// The command line of quendar-ics: export and import.
//
// Exit status: 0 done, 1 a bad calendar file or a failing file step, 2 the
// planner runs on the folder, 64 a wrong command line.

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace ics {

struct Context {
  QDate today;            // the first day an import may fill
  QString defaultFolder;  // the program folder when --folder is not given
};

int Run(const QStringList& arguments, const Context& context, std::FILE* out, std::FILE* err);

}  // namespace ics
