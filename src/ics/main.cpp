// quendar-ics: the planner's plans out to iCalendar and back in.

#include "ics/command_line.h"

#include <QCoreApplication>
#include <QDate>

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ics::Context context;
  // Fixing "today" lets a test put the range where it wants; the local time
  // zone comes from TZ as usual.
  context.today = QDate::fromString(qEnvironmentVariable("QUENDAR_TODAY"), Qt::ISODate);
  if (!context.today.isValid()) context.today = QDate::currentDate();
  context.defaultFolder = QCoreApplication::applicationDirPath();
  QStringList arguments = QCoreApplication::arguments();
  return ics::Run(arguments, context, stdout, stderr);
}
