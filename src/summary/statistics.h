#pragma once
// "進度檢視": the two running counts turned into the not-done share, the
// done share and a letter grade, shown with the history of plans not done in
// the summary window, which takes the main window's place.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace shell {
class App;
}

namespace platform {
class ListBox;
}

namespace summary {

struct Grade {
  QString caption;
  QString comment;
};

// The not-done share in whole percent: floor((notDone / total) * 100), in
// double precision and in that order, so 29 of 100 gives 28.
int NotDonePercent(double notDone, std::int32_t total);
// The grade line and its comment for a share; null above 100, where the line
// is left as it was.
const Grade* GradeFor(int percent);
// A bar's length for a share of a track, in single precision.
float BarWidth(int percent, int trackWidth);

// Clears the list and fills it with the history's records.
void FillHistoryList(platform::ListBox& list, const QStringList& records);

void MenuView_Click(shell::App& app);

}  // namespace summary
