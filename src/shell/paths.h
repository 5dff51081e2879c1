#pragma once
// Where every file of the program lies: in or under the program folder.

#include <QString>

namespace shell {

class App;

QString WithTrailingSlash(const QString& folder);

QString SettingsPath(const App& app);
QString DataFolderPath(const App& app);
QString YearFolderPath(const App& app, int year);
QString MonthFolderPath(const App& app, int year, int month);
// The day as its text: the selected day travels as text in a control's Tag.
QString DayFilePath(const App& app, int year, int month, const QString& day);
QString DayFilePath(const App& app, int year, int month, int day);
QString DayTempPath(const App& app, int year, int month, const QString& day);
QString SoundPath(const App& app);
// The record of verdicts, in the data folder.
QString CountersPath(const App& app);
QString HistoryPath(const App& app);
QString HistoryTempPath(const App& app);
// What a change that spans files will do, while it is being done.
QString JournalPath(const App& app);

}  // namespace shell
