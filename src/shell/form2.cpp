#include "shell/form2.h"

namespace shell {

namespace {
constexpr int kWidth = 3015;
constexpr int kHeight = 1995;
constexpr int kBandHeight = 375;
}  // namespace

Form2::Form2() : Form("Form2") {
  Caption = "Quendar - Alarm";
  Width = kWidth;
  Height = kHeight;
  Frameless = true;
  ToolWindow = true;

  Add(Shape1).Move(0, 0, kWidth, kHeight);
  Shape1.BackColor = kAlarmBackColor;
  Add(Shape2).Move(0, 0, kWidth, kBandHeight);
  Shape2.BackColor = RGB(71, 174, 53);
  Add(Label1).Move(120, 45, 2400, 285);
  Label1.Caption = "行　程　提　示";
  Label1.ForeColor = RGB(255, 255, 255);
  Add(Label2).Move(120, 480, kWidth - 240, kHeight - 600);
  Label2.ForeColor = RGB(255, 0, 0);
  Add(Label3).Move(kWidth - 300, 60, 240, 240);
  Label3.Caption = "x";
  Label3.Align = Alignment::Center;
  Label3.BackColor = kAlarmBackColor;
  Add(Shape3).Move(0, 0, kWidth, kHeight);
  Shape3.Filled = false;

  Timer1.Interval = 50;
  Timers.push_back(&Timer1);
}

}  // namespace shell
