#include "shell/form1.h"

namespace shell {

namespace {

void Place(Control& c, int left, int top, int width, int height) {
  c.Left = left;
  c.Top = top;
  c.Width = width;
  c.Height = height;
}

constexpr int kCellWidth = kClientWidth / 7;
constexpr int kCellTop = 1560;
constexpr int kRowStep = 480;
constexpr int kCellHeight = 495;
constexpr int kEditorRowTop = 1040;
constexpr int kEditorRowHeight = 270;

}  // namespace

Form1::Form1() : Form("Form1") {
  Caption = "Quendar";
  Width = kClientWidth;
  Height = kSixRowHeight;
  FrameHeight = kFrameHeight;

  LayOutCalendarPage();
  LayOutTodayPage();

  Timer1.Interval = 1000;
  Timers.push_back(&Timer1);

  MenuBar = {&MenuMain, &MenuSetting, &MenuView, &MenuExit};
  TrayMenu.Visible = false;
  TrayMenu.Items = {&TrayMain, &TrayExit};
  PlansPop.Visible = false;
  PlansPop.Items = {&PlansPop_Done, &PlansPop_Bar1, &PlansPop_Del};
}

void Form1::LayOutCalendarPage() {
  // Headings on the left, the day's plan list on the right, the editor
  // strip across the window, then the weekday heads and the six week rows.
  Place(Add(Label2), 0, 0, 3720, 375);
  Label2.BackColor = kHeadingColor;
  Label2.Align = Alignment::Center;
  Place(Add(Label1), 0, 375, 3720, 345);
  Label1.BackColor = kHeadingColor;

  const char* arrows[2] = {"<<", ">>"};
  for (int i = 0; i < 2; ++i) {
    Place(Add(Label4[i]), i == 0 ? 60 : 3240, 45, 420, 285);
    Label4[i].Caption = arrows[i];
    Label4[i].ForeColor = RGB(0, 0, 0);
    Label4[i].Align = Alignment::Center;
  }

  Place(Add(List1), 3780, 0, kClientWidth - 3780, 720);
  Place(Add(List2), 3780, 0, kClientWidth - 3780, 720);
  List2.Visible = false;

  Place(Add(Text2), 0, 720, kClientWidth, 310);
  Text2.BackColor = RGB(224, 224, 224);
  Text2.Locked = true;

  // The editor row, under the columns that Text2's header names.
  Place(Add(Text4[0]), 60, kEditorRowTop, 330, kEditorRowHeight);
  Text4[0].ToolTipText = "鬧鈴的「時」";
  Place(Add(Label6[0]), 390, kEditorRowTop, 120, kEditorRowHeight);
  Label6[0].Caption = ":";
  Place(Add(Text4[1]), 510, kEditorRowTop, 330, kEditorRowHeight);
  Text4[1].ToolTipText = "鬧鈴的「分」";
  Place(Add(Label6[1]), 900, kEditorRowTop, 15, kEditorRowHeight);
  Label6[1].BackColor = RGB(0, 0, 0);
  Place(Add(Text1), 960, kEditorRowTop, 4260, kEditorRowHeight);
  Text1.ToolTipText = "新的計畫行程";
  Place(Add(Text3), 5280, kEditorRowTop, 2220, kEditorRowHeight);
  Text3.ToolTipText = "當日行程節慶";
  for (TextBox* box : {&Text4[0], &Text4[1], &Text1, &Text3}) box->Visible = false;

  Place(Add(Command2), 2175, 390, 495, 315);
  Command2.Caption = "Add";
  Place(Add(Command3), 2700, 390, 495, 315);
  Command3.Caption = "Edit";
  Place(Add(Command1), 3225, 390, 495, 315);
  Command1.Caption = "Del";
  for (CommandButton* b : {&Command2, &Command3, &Command1}) b->Visible = false;

  const char* heads[7] = {"日", "一", "二", "三", "四", "五", "六"};
  for (int i = 0; i < 7; ++i) {
    Place(Add(Label3[i]), i * kCellWidth, 1320, kCellWidth, 240);
    Label3[i].Caption = heads[i];
    Label3[i].Align = Alignment::Center;
    Label3[i].BackColor = RGB(94, 209, 37);
  }
  Label3[0].ForeColor = RGB(255, 0, 0);

  for (int i = 0; i < kCellCount; ++i) {
    Place(Add(Label5[i]), (i % 7) * kCellWidth + 15, kCellTop + (i / 7) * kRowStep, kCellWidth - 15,
          kCellHeight);
    Label5[i].BackColor = kCellColor;
    Label5[i].Tag = "0";
  }

  Place(Add(Label6[2]), 0, 0, 15, 15);
  Label6[2].Visible = false;
  Label6[2].BackColor = kCellColor;
}

void Form1::LayOutTodayPage() {
  Place(Add(Frame1), 0, 0, kClientWidth, kSixRowHeight - kFrameHeight);
  Place(Add(Shape1, &Frame1), 60, 240, kClientWidth - 120, 4190);
  Shape1.BackColor = RGB(255, 253, 240);
  Shape1.BorderColor = RGB(160, 160, 160);

  Place(Add(Label7, &Frame1), 120, 0, 2760, 240);
  Place(Add(Label9, &Frame1), 2880, 0, 3720, 240);
  Label9.ForeColor = RGB(128, 0, 0);
  Label9.Visible = false;
  Place(Add(Label8, &Frame1), 6600, 0, 840, 240);
  Label8.Align = Alignment::Right;

  for (int i = 0; i < kNoteCount; ++i) {
    Place(Add(Label10[i], &Frame1), kNoteDesignLeft[i], kNoteDesignTop[i], 1500, 255);
    Label10[i].Caption = "Time";
    Label10[i].BackColor = kTimeBarColor;
    Place(Add(Label11[i], &Frame1), kNoteDesignLeft[i], kNoteDesignTop[i] + 240, 1500, 900);
    Label11[i].BackColor = kNoteBodyColor;
  }

  Place(Add(Shape2, &Frame1), 0, 0, 1500, 1140);
  Shape2.Filled = false;
  Shape2.Visible = false;
  Place(Add(Label12, &Frame1), 0, 0, 900, 240);
  Label12.Caption = "Temp Area";
  Label12.Visible = false;
  Place(Add(Image1, &Frame1), 0, 0, 240, 240);
  Image1.Visible = false;
}

}  // namespace shell
