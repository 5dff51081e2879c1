#pragma once
// Day files: one per day with a note or plans, datas/<year>/<month>/<day>.dat.
// Line 0 is the day's note; every further line is one plan: a five-character
// time field ("hh:mm" or "--:--"), a blank, the text. A plan that got its
// verdict today is kept in place with an "x" in front, so line numbers hold.
//
// Lines are handled as raw bytes: only what is shown gets decoded, and lines
// a rewrite keeps go back to the disk exactly as they were read.

#include "platform/files/file_ops.h"

#include <QString>

#include <optional>

namespace shell {
class App;
}
namespace platform {
class ListBox;
}

namespace store {

using platform::files::RawLines;

inline const QString kNoPlansItem = QStringLiteral("~   您這天尚未安排任何計畫");

// The copies a day file's update or creation writes in full before renaming
// them over the day file: an update's "N.~dat", then a creation's
// "N.dat.~new". A program stopped before the rename leaves them behind.
QStringList DayFileCopies(const QString& dayFile);

// The file that holds the day: the day file itself or, when it is missing, the
// first of its copies that is there, so that plans whose file went missing
// in the middle of an update are still shown, rung and swept. Empty when the
// day has no file at all.
QString DayFileSource(const QString& dayFile);

// The lines of the file that holds the day, or nothing when the day has none.
std::optional<RawLines> ReadDayFile(const QString& dayFile);

// Puts the copy that holds the day in place of its missing day file, before
// anything writes the day: a new day file would otherwise hide the copy's
// plans.
void RestoreDayFile(const QString& dayFile);

// The plans without a verdict in a copy that the day's lines lack, a marked
// and an unmarked line being the same plan (a plan with its verdict is
// counted already). A copy cut short while it was written (its last line has
// no line end) holds nothing beyond its last full line.
RawLines PlansOnlyInCopy(const QString& copy, const RawLines& dayLines);

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
int ListUnmarkedPlans(platform::ListBox& list, const RawLines& lines);

// Makes sure the day has a file, creating the year and month folders (and the
// month's index line) as needed; a new file holds one empty note line, and so
// does an existing file that is empty.
// Returns true when it created the file. A failure undoes what it had made.
// A copy that stands in for a missing day file is put in place instead.
bool EnsureDayFile(shell::App& app, int year, int month, const QString& day);

// Replaces the day file with these lines through its "~dat" sibling; a copy
// that stood in for a missing day file is put in place first.
void ReplaceDayFile(shell::App& app, int year, int month, const QString& day, const RawLines& lines);

// Drops a day file left with only an empty note, and the month folder when it
// holds no file any more (and with it the month's index line).
void PruneDay(shell::App& app, int year, int month, const QString& day);

}  // namespace store
