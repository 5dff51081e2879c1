#pragma once
// The month index datas/<year>/month.qdr: one line per month folder of the
// year, " 8" for August. It tells when a year folder has lost its last month.

#include <QString>

#include <vector>

namespace shell {
class App;
}

namespace store {

// Called when a month folder has been created.
void AddQDR(shell::App& app, int Date_Year, int Date_Month);
// Called when a month folder has been removed: drops every line of that
// month; an index left empty goes, and the year folder with it when empty.
void CheckQDR(shell::App& app, int Date_Year, int Date_Month, const QString& QDRFile_Diryear);
// The same for several months of one year at once, in one rewrite.
void DropFromIndex(const QString& yearFolder, const std::vector<int>& months);
// Removes the emptied month folders of a year up to lastMonth, takes every
// month whose folder is gone out of the year's index (a line an earlier
// failure left goes too) and the year folder when nothing is left in it.
void RemoveEmptyMonths(shell::App& app, int year, int lastMonth);

}  // namespace store
