#include "shell/form1.h"

namespace shell {

namespace {

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
  Add(Label2).Move(0, 0, 3720, 375);
  Label2.BackColor = kHeadingColor;
  Label2.Align = Alignment::Center;
  Add(Label1).Move(0, 375, 3720, 345);
  Label1.BackColor = kHeadingColor;

  const char* arrows[2] = {"<<", ">>"};
  for (int i = 0; i < 2; ++i) {
    Add(Label4[i]).Move(i == 0 ? 60 : 3240, 45, 420, 285);
    Label4[i].Caption = arrows[i];
    Label4[i].ForeColor = RGB(0, 0, 0);
    Label4[i].Align = Alignment::Center;
    Label4[i].TabStop = true;
  }

  Add(List1).Move(3780, 0, kClientWidth - 3780, 720);
  Add(List2).Move(3780, 0, kClientWidth - 3780, 720);
  List2.Visible = false;

  Add(Text2).Move(0, 720, kClientWidth, 310);
  Text2.BackColor = RGB(224, 224, 224);
  Text2.Locked = true;

  // The editor row, under the columns that Text2's header names.
  Add(Text4[0]).Move(60, kEditorRowTop, 330, kEditorRowHeight);
  Text4[0].ToolTipText = "鬧鈴的「時」";
  Add(Label6[0]).Move(390, kEditorRowTop, 120, kEditorRowHeight);
  Label6[0].Caption = ":";
  Add(Text4[1]).Move(510, kEditorRowTop, 330, kEditorRowHeight);
  Text4[1].ToolTipText = "鬧鈴的「分」";
  Add(Label6[1]).Move(900, kEditorRowTop, 15, kEditorRowHeight);
  Label6[1].BackColor = RGB(0, 0, 0);
  Add(Text1).Move(960, kEditorRowTop, 4260, kEditorRowHeight);
  Text1.ToolTipText = "新的計畫行程";
  Add(Text3).Move(5280, kEditorRowTop, 2220, kEditorRowHeight);
  Text3.ToolTipText = "當日行程節慶";
  for (TextBox* box : {&Text4[0], &Text4[1], &Text1, &Text3}) box->Visible = false;

  Add(Command2).Move(2175, 390, 495, 315);
  Command2.Caption = "Add";
  Add(Command3).Move(2700, 390, 495, 315);
  Command3.Caption = "Edit";
  Add(Command1).Move(3225, 390, 495, 315);
  Command1.Caption = "Del";
  for (CommandButton* b : {&Command2, &Command3, &Command1}) b->Visible = false;

  const char* heads[7] = {"日", "一", "二", "三", "四", "五", "六"};
  for (int i = 0; i < 7; ++i) {
    Add(Label3[i]).Move(i * kCellWidth, 1320, kCellWidth, 240);
    Label3[i].Caption = heads[i];
    Label3[i].Align = Alignment::Center;
    Label3[i].BackColor = RGB(94, 209, 37);
  }
  Label3[0].ForeColor = RGB(255, 0, 0);

  for (int i = 0; i < kCellCount; ++i) {
    Add(Label5[i]).Move((i % 7) * kCellWidth + 15, kCellTop + (i / 7) * kRowStep, kCellWidth - 15,
          kCellHeight);
    Label5[i].BackColor = kCellColor;
    Label5[i].Tag = "0";
    Label5[i].TabStop = true;
  }

  Add(Label6[2]).Move(0, 0, 15, 15);
  Label6[2].Visible = false;
  Label6[2].BackColor = kCellColor;
}

void Form1::LayOutTodayPage() {
  Add(Frame1).Move(0, 0, kClientWidth, kSixRowHeight - kFrameHeight);
  Add(Shape1, &Frame1).Move(60, 240, kClientWidth - 120, 4190);
  Shape1.BackColor = RGB(255, 253, 240);
  Shape1.BorderColor = RGB(160, 160, 160);

  Add(Label7, &Frame1).Move(120, 0, 2760, 240);
  Add(Label9, &Frame1).Move(2880, 0, 3720, 240);
  Label9.ForeColor = RGB(128, 0, 0);
  Label9.Visible = false;
  Add(Label8, &Frame1).Move(6600, 0, 840, 240);
  Label8.Align = Alignment::Right;

  for (int i = 0; i < kNoteCount; ++i) {
    Add(Label10[i], &Frame1).Move(kNoteDesignLeft[i], kNoteDesignTop[i], 1500, 255);
    Label10[i].Caption = "Time";
    Label10[i].BackColor = kTimeBarColor;
    Label10[i].TabStop = true;  // the note's own key; its body follows the bar
    Add(Label11[i], &Frame1).Move(kNoteDesignLeft[i], kNoteDesignTop[i] + 240, 1500, 900);
    Label11[i].BackColor = kNoteBodyColor;
    // Two blanks and eight Chinese characters fill the 100-pixel body.
    Label11[i].FontSize = 8;
  }

  Add(Shape2, &Frame1).Move(0, 0, 1500, 1140);
  Shape2.Filled = false;
  Shape2.Visible = false;
  Add(Label12, &Frame1).Move(0, 0, 900, 240);
  Label12.Caption = "Temp Area";
  Label12.Visible = false;
  Add(Image1, &Frame1).Move(0, 0, 240, 240);
  Image1.Visible = false;
}

}  // namespace shell
