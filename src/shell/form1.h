#pragma once
// The main window: the today page inside Frame1, the calendar page behind it,
// the clock timer, the menu bar and the two pop-up menus.

#include "platform/controls.h"

#include <QByteArray>
#include <QDate>

#include <array>

namespace shell {

using namespace platform;

// Colours the logic sets and compares.
inline constexpr Color kCellColor = RGB(223, 246, 253);
inline constexpr Color kTodayCellColor = RGB(135, 191, 198);
inline constexpr Color kHeadingColor = RGB(136, 212, 234);
inline constexpr Color kTimeBarColor = RGB(136, 212, 234);
inline constexpr Color kNoteBodyColor = RGB(248, 248, 143);

inline constexpr int kClientWidth = 7560;
inline constexpr int kSixRowHeight = 5145;   // outer height, client 4455
inline constexpr int kFiveRowHeight = 4660;  // outer height, client 3970
inline constexpr int kFrameHeight = 690;     // title bar, menu bar and borders

inline constexpr int kNoteCount = 15;
inline constexpr int kCellCount = 42;

// Where each note's time bar stands before the user drags it.
inline constexpr int kNoteDesignLeft[kNoteCount] = {150,  570,  990,  690,  270,  2550, 2970, 3390,
                                                   3090, 2670, 4950, 5370, 5790, 5490, 5070};
inline constexpr int kNoteDesignTop[kNoteCount] = {420,  1020, 1620, 2220, 2820, 420,  1020, 1620,
                                                  2220, 2820, 420,  1020, 1620, 2220, 2820};

// The plan a note stands for, kept out of sight beside Label10(i).Tag (its
// line number): the day whose file the note was filled from and the line as it
// was read, so that a verdict marks exactly that plan even after midnight or
// after the file changed behind the page.
struct NotePlan {
  QDate day;
  QByteArray line;
};

class Form1 : public Form {
 public:
  Form1();

  // --- today page
  Frame Frame1{"Frame1"};
  Shape Shape1{"Shape1"};
  Shape Shape2{"Shape2"};
  Label Label12{"Label12"};
  ControlArray<Label, kNoteCount> Label10{"Label10"};
  ControlArray<Label, kNoteCount> Label11{"Label11"};
  std::array<NotePlan, kNoteCount> NotePlans;
  Image Image1{"Image1"};
  Label Label9{"Label9"};
  Label Label8{"Label8"};
  Label Label7{"Label7"};

  // --- calendar page
  Label Label1{"Label1"};
  Label Label2{"Label2"};
  ControlArray<Label, 7> Label3{"Label3"};
  ControlArray<Label, 2> Label4{"Label4"};
  ControlArray<Label, kCellCount> Label5{"Label5"};
  ControlArray<Label, 3> Label6{"Label6"};
  ListBox List1{"List1"};
  ListBox List2{"List2"};
  TextBox Text1{"Text1"};
  TextBox Text3{"Text3"};
  ControlArray<TextBox, 2> Text4{"Text4"};
  CommandButton Command2{"Command2"};
  CommandButton Command3{"Command3"};
  CommandButton Command1{"Command1"};
  TextBox Text2{"Text2"};

  platform::Timer Timer1{"Timer1"};

  // --- menus
  Menu MenuMain{"MenuMain", "主畫面"};
  Menu MenuSetting{"MenuSetting", "行程排定"};
  Menu MenuView{"MenuView", "進度檢視"};
  Menu MenuExit{"MenuExit", "結束程式"};
  Menu TrayMenu{"TrayMenu", "常駐右鍵"};
  Menu TrayMain{"TrayMain", "顯示"};
  Menu TrayExit{"TrayExit", "結束"};
  Menu PlansPop{"PlansPop", "計畫進度"};
  Menu PlansPop_Done{"PlansPop_Done", "此計畫完成"};
  Menu PlansPop_Bar1{"PlansPop_Bar1", "-"};
  Menu PlansPop_Del{"PlansPop_Del", "列為未完成"};

 private:
  void LayOutTodayPage();
  void LayOutCalendarPage();
};

}  // namespace shell
