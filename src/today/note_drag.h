#pragma once
// Notes on a board: the left button drags a note by its time bar. Only the
// outline Shape2 follows the pointer; on release the note moves there, kept
// inside the window. The right button on a time bar opens the verdict menu.

namespace shell {
class App;
}

namespace today {

void Label10_MouseDown(shell::App& app, int Index, int Button);
void Label10_MouseMove(shell::App& app, int Index, int Button);
void Label10_MouseUp(shell::App& app, int Index, int Button);

}  // namespace today
