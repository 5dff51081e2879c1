#include "alarm/alarm_window.h"

#include "shell/app.h"
#include "shell/events.h"
#include "shell/form2.h"

#include <QRect>

namespace alarms {

namespace {

constexpr int kStep = 100;        // twips per tick of the slide
constexpr int kHoldTicks = 200;   // the hold ends on the tick after this count
constexpr int kRightMargin = 50;  // gap to the right edge of the work area
// Room kept between the risen window and the bottom of the work area, for
// panels that leave the work area alone. On a 768-pixel screen the rise ends
// where it always has: the first Top below 9100.
constexpr int kBottomMargin = 425;

constexpr platform::Color kCloseHotColor = platform::RGB(248, 248, 143);

int Bottom(const QRect& r) { return r.y() + r.height(); }
int Right(const QRect& r) { return r.x() + r.width(); }

// The rise goes on while Top is at or below this line, so it ends with the
// whole window standing inside the work area.
int RiseBound(shell::App& app, const shell::Form2& f) {
  return Bottom(app.platform.WorkAreaTwips()) - f.Height - kBottomMargin;
}

void CloseAlarm(shell::App& app, shell::Form2& f) {
  f.Visible = false;
  f.Timer1.Enabled = false;
  app.UnloadForm2();
}

void Form_Load(shell::Form2& f) { f.Label2.Caption.clear(); }

void Timer1_Timer(shell::App& app, shell::Form2& f) {
  if (app.AlarmTicks <= kHoldTicks) {
    if (f.Top >= RiseBound(app, f)) {
      f.Top -= kStep;
    } else {
      ++app.AlarmTicks;
    }
  } else if (f.Top > Bottom(app.platform.ScreenTwips())) {
    CloseAlarm(app, f);
  } else {
    f.Top += kStep;
  }
}

void Label3_MouseMove(shell::Form2& f) {
  f.Label3.BackColor = kCloseHotColor;
  f.Label3.FontBold = true;
}

void Form_MouseMove(shell::Form2& f) {
  f.Label3.BackColor = shell::kAlarmBackColor;
  f.Label3.FontBold = false;
}

void Load(shell::App& app, shell::Form2& f) {
  shell::On(app, f.Timer1.Tick, [&app, &f] { Timer1_Timer(app, f); });
  shell::On(app, f.Label3.Click, [&app, &f] { CloseAlarm(app, f); });
  shell::On(app, f.Label3.MouseMove, [&f](int, int, float, float) { Label3_MouseMove(f); });
  shell::On(app, f.MouseMove, [&f](int, int, float, float) { Form_MouseMove(f); });
  shell::On(app, f.Load, [&f] { Form_Load(f); });
  f.Load();
}

}  // namespace

void RaiseAlarm(shell::App& app, const QString& text) {
  shell::Form2& f = app.GetForm2();
  f.Caption = app.VersionCaption + " - Alarm";
  f.Left = Right(app.platform.WorkAreaTwips()) - f.Width - kRightMargin;
  f.Top = Bottom(app.platform.ScreenTwips());
  app.AlarmTicks = 0;
  f.Visible = true;
  f.Label2.Caption = text;
}

void AddAlarmText(shell::App& app, const QString& text) {
  shell::Form2& f = app.GetForm2();
  f.Label2.Caption += "\r\n" + text;
}

void WireAlarmWindow(shell::App& app) {
  app.LoadForm2 = [&app](shell::Form2& f) { Load(app, f); };
}

}  // namespace alarms
