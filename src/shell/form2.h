#pragma once
// The alarm pop-up: a small frameless window with its own title band and
// close box, moved by its timer.

#include "platform/controls.h"

namespace shell {

using namespace platform;

inline constexpr Color kAlarmBackColor = RGB(205, 255, 145);

class Form2 : public Form {
 public:
  Form2();

  platform::Timer Timer1{"Timer1"};
  Shape Shape1{"Shape1"};
  Shape Shape2{"Shape2"};
  Shape Shape3{"Shape3"};
  Label Label1{"Label1"};
  Label Label3{"Label3"};
  Label Label2{"Label2"};

  Event<> Load;
};

}  // namespace shell
