#pragma once
// Day files: one per day with a note or plans, datas/<year>/<month>/<day>.dat.
// Line 0 is the day's note; every further line is one plan: a five-character
// time field ("hh:mm" or "--:--"), a blank, the text. A plan that got its
// verdict today is kept in place with an "x" in front, so line numbers hold.
//
// Lines are handled as raw bytes: only what is shown gets decoded, and lines
// a rewrite keeps go back to the disk exactly as they were read.

#include "ui/files/file_ops.h"

#include <QString>

#include <optional>

namespace shell {
class App;
}
namespace ui {
class ListBox;
}

namespace store {

using ui::files::RawLines;

inline const QString kNoPlansItem = QStringLiteral("~   您這天尚未安排任何計畫");

// The lines of a day file, or nothing when the day has no file.
std::optional<RawLines> ReadDayFile(const QString& path);

// A plan line that already got its verdict today.
inline bool IsMarked(const QByteArray& line) { return line.startsWith('x'); }
// Texts are shown cut to this many characters, whatever the length of their
// line: a list, a note or a caption never has more to draw, and a click on a
// day with a huge line costs no more than on any other. The file keeps the
// whole line.
constexpr qsizetype kShownLength = 300;

// The plan's text as it is shown: the line from its 7th character on, cut to
// kShownLength characters.
QString PlanText(const QByteArray& line);
// A plan list item: the number, two blanks, the text.
QString PlanItem(int number, const QString& text);
// Adds the day's plans that have no verdict yet to the list, numbered 1, 2, ...
// over the items added, each item keeping its file line. Returns how many.
int ListUnmarkedPlans(ui::ListBox& list, const RawLines& lines);

// Makes sure the day has a file, creating the year and month folders (and the
// month's index line) as needed; a new file holds one empty note line, and so
// does an existing file that is empty.
// Returns true when it created the file. A failure undoes what it had made.
bool EnsureDayFile(shell::App& app, int year, int month, const QString& day);

// Replaces the day file with these lines through its "~dat" sibling.
void ReplaceDayFile(shell::App& app, int year, int month, const QString& day, const RawLines& lines);

// Drops a day file left with only an empty note, and the month folder when it
// holds no file any more (and with it the month's index line).
void PruneDay(shell::App& app, int year, int month, const QString& day);

}  // namespace store
