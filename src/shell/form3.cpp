#include "shell/form3.h"

namespace shell {

namespace {

constexpr int kClientWidth = 7560;
constexpr int kClientHeight = 3990;
constexpr int kFrameHeight = 690;  // title bar, menu bar and borders

constexpr int kTitleWidth = 840;
constexpr int kTrackLeft = 120 + kTitleWidth;
constexpr int kRowHeight = 255;
constexpr int kNotDoneTop = 180;
constexpr int kDoneTop = 555;
constexpr int kPercentLeft = kTrackLeft + kTrackWidth + 60;

constexpr Color kWhite = RGB(255, 255, 255);
constexpr Color kBoxColor = RGB(255, 255, 192);

constexpr int kListTop = 1485;
constexpr int kListWidth = 4320;
constexpr int kListHeight = 2385;
constexpr int kNoteLeft = 120 + kListWidth + 120;
constexpr int kNoteWidth = kClientWidth - kNoteLeft - 120;

}  // namespace

Form3::Form3() : Form("Form3") {
  Caption = "Quendar - Summary";
  Width = kClientWidth;
  Height = kClientHeight + kFrameHeight;
  FrameHeight = kFrameHeight;
  FixedSize = true;

  Add(Frame1).Move(0, 0, kClientWidth, kClientHeight);

  // The two rows: title, white track, the coloured bar on it, the percentage.
  struct Row {
    Label& title;
    const char* caption;
    Shape& track;
    Bar& bar;
    Color color;
    Label& percent;
    int top;
  };
  for (const Row& row : {Row{Label1, "未完成:", Shape1, Shape3, RGB(255, 0, 0), Label3, kNotDoneTop},
                         Row{Label2, "完　成:", Shape2, Shape4, RGB(0, 128, 0), Label4, kDoneTop}}) {
    Add(row.title, &Frame1).Move(120, row.top, kTitleWidth, kRowHeight);
    row.title.Caption = row.caption;
    Add(row.track, &Frame1).Move(kTrackLeft, row.top, kTrackWidth, kRowHeight);
    row.track.BackColor = kWhite;
    Add(row.bar, &Frame1).Move(kTrackLeft, row.top, 0, kRowHeight);
    row.bar.SetBarWidth(kTrackWidth);
    row.bar.BackColor = row.color;
    Add(row.percent, &Frame1).Move(kPercentLeft, row.top, kClientWidth - kPercentLeft - 60, kRowHeight);
    row.percent.Caption = "100%";
    row.percent.Align = Alignment::Right;
  }

  // The grade line on its yellow box.
  Add(Shape6, &Frame1).Move(120, 960, kClientWidth - 240, 390);
  Shape6.BackColor = kBoxColor;
  Add(Label6, &Frame1).Move(240, 1020, kClientWidth - 480, 270);
  Label6.Caption = "         總      評";
  Label6.FontBold = true;

  // The history on the left; the note that explains it, and the delete
  // button, on the right.
  Add(List1, &Frame1).Move(120, kListTop, kListWidth, kListHeight);
  Add(Shape5, &Frame1).Move(kNoteLeft, kListTop, kNoteWidth, 1800);
  Shape5.BackColor = kBoxColor;
  Add(Label5, &Frame1).Move(kNoteLeft + 105, kListTop + 90, kNoteWidth - 210, 1620);
  Label5.Caption =
      "在此刪除紀錄，並不會被列入完成或未完成的統計。此處的紀錄僅作提醒功用，希望使用者能把先前未完成的計畫趕緊做完。";
  Label5.WordWrap = true;
  Add(Command1, &Frame1).Move(kNoteLeft, kListTop + kListHeight - 420, kNoteWidth, 420);
  Command1.Caption = "刪除記錄";

  Timer1.Interval = 1000;
  Timers.push_back(&Timer1);

  MenuBar = {&Menu_Back1, &Menu_Back2, &Menu_Back3, &Menu_Back4};
}

}  // namespace shell
