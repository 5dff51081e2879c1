#pragma once
// The progress summary: the not-done and done shares as two bars on white
// tracks, the grade line, the history of plans not done with its delete
// button, and a menu back to the main window.

#include "platform/controls.h"

namespace shell {

using namespace platform;

// The summary's own notification-area icon; the main window uses 9999 and 499.
inline constexpr int kSummaryTrayId = 9998;
inline constexpr int kSummaryTrayMessage = 498;

inline constexpr int kTrackWidth = 5895;

// A bar whose length the logic keeps in fractions of a twip (a single
// precision value, as the percentage arithmetic leaves it). It is drawn at its
// whole twips, and a negative length draws as nothing.
class Bar : public Shape {
 public:
  explicit Bar(QString name) : Shape(std::move(name)) {}
  float BarWidth() const { return width_; }
  void SetBarWidth(float width) {
    width_ = width;
    Width = width > 0 ? int(width) : 0;
  }

 private:
  float width_ = 0;
};

class Form3 : public Form {
 public:
  Form3();

  Frame Frame1{"Frame1"};
  platform::Timer Timer1{"Timer1"};
  Shape Shape5{"Shape5"};
  Shape Shape6{"Shape6"};
  CommandButton Command1{"Command1"};
  ListBox List1{"List1"};
  Label Label5{"Label5"};
  Label Label6{"Label6"};
  Label Label1{"Label1"};
  Label Label3{"Label3"};
  Shape Shape1{"Shape1"};
  Bar Shape3{"Shape3"};
  Label Label2{"Label2"};
  Label Label4{"Label4"};
  Shape Shape2{"Shape2"};
  Bar Shape4{"Shape4"};

  Menu Menu_Back1{"Menu_Back1", "主畫面"};
  Menu Menu_Back2{"Menu_Back2", "行程排定"};
  Menu Menu_Back3{"Menu_Back3", "進度檢視"};
  Menu Menu_Back4{"Menu_Back4", "結束程式"};

  Event<> Load;
  // Public procedure: brings the window back from its notification-area icon.
  Event<> TrayOpen3;
  // "Unload Form3": its close request, then its unload, which shows Form1.
  Event<> Unload;
};

}  // namespace shell
