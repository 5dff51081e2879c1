#include "calendar/hover.h"

#include "shell/app.h"
#include "store/val.h"

namespace calendar {

namespace {

constexpr platform::Color kHoverColor = platform::RGB(255, 255, 255);

// A remembered index outside the grid (a Tag changed from elsewhere) paints nothing.
void Paint(shell::Form1& f, long index, platform::Color color) {
  if (index >= 0 && index < shell::kCellCount) f.Label5[int(index)].BackColor = color;
}

void ClearHighlight(shell::App& app) {
  shell::Form1& f = app.form1;
  Paint(f, store::Val(f.Label6[2].Tag), f.Label6[2].BackColor);
  f.Label6[2].Tag = QStringLiteral("0");
}

}  // namespace

void Label5_MouseMove(shell::App& app, int Index) {
  shell::Form1& f = app.form1;
  const long p = store::Val(f.Label6[2].Tag);
  const long day = store::Val(f.Label5[Index].Tag);
  if (day == 0) {
    ClearHighlight(app);
    return;
  }
  if (Index == p) return;
  f.Label5[Index].BackColor = kHoverColor;
  Paint(f, p, f.Label6[2].BackColor);
  f.Label6[2].Tag = QString::number(Index);
  // Repainting the last cell may have taken today's colour away.
  if (day != app.TodayDay && app.ShownMonth == app.TodayMonth && app.ShownYear == app.TodayYear) {
    Paint(f, store::Val(f.Label6[2].Caption), shell::kTodayCellColor);
  }
}

void Label3_MouseMove(shell::App& app) { ClearHighlight(app); }

void Form_MouseMove(shell::App& app) { ClearHighlight(app); }

void Label4_MouseMove(shell::App& app, int Index) { app.form1.Label4[Index].ForeColor = kHoverColor; }

void Label2_MouseMove(shell::App& app) {
  app.form1.Label4[0].ForeColor = platform::RGB(0, 0, 0);
  app.form1.Label4[1].ForeColor = platform::RGB(0, 0, 0);
}

}  // namespace calendar
