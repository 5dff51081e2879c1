#include "today/note_drag.h"

#include "shell/app.h"
#include "today/verdict.h"

#include <algorithm>

namespace today {

namespace {

constexpr platform::Color kDraggedBarColor = platform::RGB(240, 240, 240);
// Room kept free at the window's edges: the date line above the notes.
constexpr int kLeftMargin = 30;
constexpr int kTopMargin = 300;
constexpr int kRightMargin = 30;
// The body overlaps the bar's lower edge.
constexpr int kBodyOverlap = 20;

}  // namespace

void Label10_MouseDown(shell::App& app, int Index, int Button) {
  if (Button == platform::kRightButton) {
    OpenPlansPop(app, Index);
    return;
  }
  if (Button != platform::kLeftButton) return;
  shell::Form1& f = app.form1;
  // Device-independent pixels: the drag follows the pointer on scaled screens too.
  const QPoint cursor = app.platform.CursorPos();
  app.DragStartX = float(cursor.x());
  app.DragStartY = float(cursor.y());
  platform::Label& bar = f.Label10[Index];
  bar.BackColor = kDraggedBarColor;
  f.Shape2.Left = bar.Left;
  f.Shape2.Top = bar.Top;
  f.Shape2.Visible = true;
}

void Label10_MouseMove(shell::App& app, int Index, int Button) {
  shell::Form1& f = app.form1;
  // Only a drag that began on a time bar moves the outline.
  if (!(Button & platform::kLeftButton) || !f.Shape2.Visible) return;
  const QPoint cursor = app.platform.CursorPos();
  const platform::Label& bar = f.Label10[Index];
  f.Shape2.Left = bar.Left + int((float(cursor.x()) - app.DragStartX) * platform::kTwipsPerPixel);
  f.Shape2.Top = bar.Top + int((float(cursor.y()) - app.DragStartY) * platform::kTwipsPerPixel);
}

void Label10_MouseUp(shell::App& app, int Index, int Button) {
  shell::Form1& f = app.form1;
  if (Button != platform::kLeftButton || !f.Shape2.Visible) return;
  platform::Label& bar = f.Label10[Index];
  platform::Label& body = f.Label11[Index];
  f.Shape2.Visible = false;
  bar.BackColor = shell::kTimeBarColor;

  // Kept inside the window, in this order: a window too small for the note
  // lets the right and bottom edges win. A click without a move is a drop
  // too, so a note left outside a shorter month's page comes back in.
  int left = std::max(f.Shape2.Left, kLeftMargin);
  int top = std::max(f.Shape2.Top, kTopMargin);
  left = std::min(left, f.Width - bar.Width - kRightMargin);
  top = std::min(top, f.ClientHeight() - bar.Height - body.Height);
  bar.Left = left;
  bar.Top = top;
  body.Top = bar.Top + bar.Height - kBodyOverlap;
  body.Left = bar.Left;
}

}  // namespace today
