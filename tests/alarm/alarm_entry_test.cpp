// The alarm hour and minute boxes, driven as a typing user drives them: each
// key is offered to KeyPress and, unless it was dropped, lands at the end of
// the text. A backspace's own deletion finds the caret at the start after
// KeyPress has set the text, so it deletes nothing more.

#include "shell/app.h"
#include "test_app.h"

#include <gtest/gtest.h>

using testsupport::TestApp;

namespace {

const QString kHourMessage = QStringLiteral("鬧鈴的「時」為 24 時制，請輸入 00 ~ 23 ");
const QString kMinuteMessage = QStringLiteral("鬧鈴的「分」為 60 分制，請輸入 00 ~ 59 ");

// Keys: "h" or "m" picks the box, "<" is backspace, "." leaves the box,
// any other character is typed.
struct EntryCase {
  const char* name;
  QString keys;
  QString hour, minute;
  QStringList messages;
};

class Text4Entry : public ::testing::TestWithParam<EntryCase> {
 protected:
  void Run(const QString& keys) {
    int box = 0;
    for (QChar key : keys) {
      platform::TextBox& b = t.app.form1.Text4[box];
      if (key == 'h' || key == 'm') {
        box = key == 'h' ? 0 : 1;
      } else if (key == '.') {
        b.LostFocus();
      } else if (key == '<') {
        int code = 8;
        b.KeyPress(code);
      } else {
        int code = key.unicode();
        b.KeyPress(code);
        if (code != 0) b.SetText(b.Text() + QChar(code));
      }
    }
  }
  TestApp t;
};

TEST_P(Text4Entry, KeepsTheBoxesToValidTimes) {
  const EntryCase& c = GetParam();
  Run(c.keys);
  EXPECT_EQ(t.app.form1.Text4[0].Text(), c.hour);
  EXPECT_EQ(t.app.form1.Text4[1].Text(), c.minute);
  EXPECT_EQ(t.platform.ErrorTexts(), c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Text4Entry,
    ::testing::Values(
        EntryCase{"HourInRange", "h23", "23", "", {}},
        EntryCase{"HourTooLarge", "h25", "2", "", {kHourMessage}},
        EntryCase{"MinuteTooLarge", "m60", "", "6", {kMinuteMessage}},
        EntryCase{"MinuteTooLargeTwice", "m609", "", "6", {kMinuteMessage, kMinuteMessage}},
        EntryCase{"LettersBlanksAndQuotesDropped", "ha 1\"x", "1", "", {}},
        EntryCase{"ThirdDigitRefused", "h123", "12", "", {}},
        EntryCase{"BackspaceOnFullThenOnOne", "h23<", "2", "", {}},
        EntryCase{"BackspaceTwice", "h23<<", "", "", {}},
        EntryCase{"BackspaceOnEmpty", "h<", "", "", {}},
        EntryCase{"PaddedOnLeaving", "h8.m5.", "08", "05", {}},
        EntryCase{"EmptyStaysEmptyOnLeaving", "h.", "", "", {}},
        // Leaving without a pad clears the fallback: a third digit empties the box.
        EntryCase{"ThirdDigitAfterLeaving", "h12.3", "", "", {}},
        // A change in the other box stores the fallback again.
        EntryCase{"ThirdDigitAfterOtherBoxChanged", "h12.m4h3", "12", "4", {}},
        EntryCase{"RetypedAfterRefusal", "h25<3", "3", "", {kHourMessage}},
        EntryCase{"FullTime", "h09.m30.", "09", "30", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Text4Paste, AnyPastedTextIsKeptInBounds) {
  TestApp t;
  platform::TextBox& hour = t.app.form1.Text4[0];
  hour.SetText("12");
  hour.SetText("99999");  // over two characters: back to the last accepted text
  EXPECT_EQ(hour.Text(), "12");
  hour.SetText("x");  // a single non-digit passes, and is padded on leaving
  hour.LostFocus();
  EXPECT_EQ(hour.Text(), "0x");
  hour.SetText("30");
  EXPECT_EQ(hour.Text(), "0x");
  EXPECT_EQ(t.platform.messages.size(), 1u);
}

}  // namespace
