#include "shell/paths.h"

#include "shell/app.h"

namespace shell {

QString WithTrailingSlash(const QString& folder) {
  return folder.endsWith('/') ? folder : folder + '/';
}

QString SettingsPath(const App& app) { return app.AppFolder() + "Quendar.ini"; }

QString DataFolderPath(const App& app) { return app.AppFolder() + "datas"; }

QString YearFolderPath(const App& app, int year) {
  return app.AppFolder() + "datas/" + QString::number(year);
}

QString MonthFolderPath(const App& app, int year, int month) {
  return YearFolderPath(app, year) + '/' + QString::number(month);
}

QString DayFilePath(const App& app, int year, int month, const QString& day) {
  return MonthFolderPath(app, year, month) + '/' + day + ".dat";
}

QString DayFilePath(const App& app, int year, int month, int day) {
  return DayFilePath(app, year, month, QString::number(day));
}

QString DayTempPath(const App& app, int year, int month, const QString& day) {
  return MonthFolderPath(app, year, month) + '/' + day + ".~dat";
}

QString SoundPath(const App& app) { return app.AppFolder() + "alarm.wav"; }

QString CountersPath(const App& app) { return DataFolderPath(app) + "/quendar.qdr"; }

QString HistoryPath(const App& app) { return DataFolderPath(app) + "/quendar.dat"; }

QString HistoryTempPath(const App& app) { return DataFolderPath(app) + "/quendar.~dat"; }

QString JournalPath(const App& app) { return DataFolderPath(app) + "/quendar.~jnl"; }

}  // namespace shell
