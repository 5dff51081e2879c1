#pragma once
// The today page: today's plans as up to 15 notes, each a time bar with the
// plan's text under it, the day's note line and the date.

#include <QString>

namespace shell {
class App;
class Form1;
}

namespace today {

// "主畫面", and the one refresh of the page: fills the notes from today's
// day file and brings the page to the front.
void MenuMain_Click(shell::App& app);

// Empties note i and hides it: it stands for no plan.
void ClearNote(shell::Form1& f, int i);

// A plan's text cut into lines for a note: up to 8 characters stay on one
// line, longer texts go in lines of 7 with the last taking the rest (1 to 8).
QString WrapNoteText(const QString& text);

}  // namespace today
