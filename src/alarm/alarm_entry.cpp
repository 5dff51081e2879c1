#include "alarm/alarm_entry.h"

#include "shell/app.h"
#include "shell/events.h"
#include "shell/file_error.h"
#include "store/val.h"

namespace alarms {

namespace {

constexpr int kBackspace = 8;

// Sets a box back to its last accepted text when it is over its limit.
void CheckRange(shell::App& app, platform::TextBox& box, long limit, const QString& message) {
  if (store::Val(box.Text()) > limit) {
    app.platform.MsgBox(message, platform::Buttons::OK, shell::kErrorTitle);
    box.SetText(box.Tag);
  } else {
    box.Tag = box.Text();
  }
}

}  // namespace

void Text4_KeyPress(shell::App& app, int Index, int& KeyAscii) {
  platform::TextBox& box = app.form1.Text4[Index];
  if (KeyAscii >= '0' && KeyAscii <= '9') return;
  if (KeyAscii == kBackspace) {
    // Setting the text puts the caret at the start, so the backspace itself
    // deletes nothing more: a full box loses its second digit, a box of one
    // character is emptied.
    box.SetText(box.Text().size() == 2 ? box.Text().left(1) : QString());
    return;
  }
  KeyAscii = 0;
}

void Text4_Change(shell::App& app, int Index) {
  shell::Form1& f = app.form1;
  platform::TextBox& box = f.Text4[Index];
  if (box.Text().size() > 2) box.SetText(box.Tag);
  CheckRange(app, f.Text4[0], 23, QStringLiteral("鬧鈴的「時」為 24 時制，請輸入 00 ~ 23 "));
  CheckRange(app, f.Text4[1], 59, QStringLiteral("鬧鈴的「分」為 60 分制，請輸入 00 ~ 59 "));
}

void Text4_LostFocus(shell::App& app, int Index) {
  platform::TextBox& box = app.form1.Text4[Index];
  const long value = store::Val(box.Text());
  if (box.Text().size() == 1 && value < 10 && value > -1) {
    box.SetText(QStringLiteral("0") + box.Text());
  } else {
    box.Tag.clear();
  }
}

void WireAlarmEntry(shell::App& app) {
  for (int i = 0; i < 2; ++i) {
    platform::TextBox& box = app.form1.Text4[i];
    shell::On(app, box.KeyPress, [&app, i](int& KeyAscii) { Text4_KeyPress(app, i, KeyAscii); });
    shell::On(app, box.Change, [&app, i] { Text4_Change(app, i); });
    shell::On(app, box.LostFocus, [&app, i] { Text4_LostFocus(app, i); });
  }
}

}  // namespace alarms
