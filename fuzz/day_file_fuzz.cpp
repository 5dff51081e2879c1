// A day file of any content, through everything that reads it and through one
// edit. Today is Friday 5 August 2005 on the fake clock; August 2005 starts on
// a Monday, so day d sits in cell d.
//
// Input: byte 0 says what to do, the rest is today's day file.
//   bits 0-1  the edit: 0 Add with a time, 1 Add without, 2 Edit the note, 3 Del
//   bit 2     day 6 holds the same file too (its cell counts every plan line,
//             and the month folder outlives an emptied day 5)
//   bit 3     Edit saves an empty note instead of a new one
//   bits 4-7  which plan Del picks, and which plan's time the alarm search looks for

#include "alarm/clock_tick.h"
#include "fuzz_support.h"
#include "shell/app.h"
#include "store/day_file.h"
#include "platform/files/codepage.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

using platform::files::RawLines;

const QString kToday = QStringLiteral("datas/2005/8/5.dat");
const QString kOtherDay = QStringLiteral("datas/2005/8/6.dat");
constexpr int kTodayCell = 5, kOtherCell = 6;

// The count line of a day cell, or 0 when it has none.
int CountShown(const QString& caption) {
  static const QRegularExpression countLine(QStringLiteral("\r\n  (\\d+) 項計畫$"));
  const auto match = countLine.match(caption);
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}

void CheckMonthGrid(const shell::Form1& f, const RawLines& lines, bool otherDay) {
  const int plans = lines.empty() ? 0 : int(lines.size()) - 1;
  std::vector<int> unmarked;
  for (int L = 1; L < int(lines.size()); ++L) {
    if (!store::IsMarked(lines[std::size_t(L)])) unmarked.push_back(L);
  }
  fuzz::Check(f.Label5[kTodayCell].Caption.startsWith(QStringLiteral("5‧")), "today's cell starts with its day");
  fuzz::Check(CountShown(f.Label5[kTodayCell].Caption) == int(unmarked.size()),
              "today's cell counts the plans without a verdict");
  if (otherDay) {
    fuzz::Check(CountShown(f.Label5[kOtherCell].Caption) == plans, "another day's cell counts every plan line");
  }
  // List1: today's plans without a verdict, numbered 1, 2, ..., each item
  // knowing its file line.
  fuzz::Check(f.List1.ListCount() == int(unmarked.size()), "List1 lists every plan without a verdict");
  for (int i = 0; i < f.List1.ListCount(); ++i) {
    const int L = unmarked[std::size_t(i)];
    fuzz::Check(f.List1.ItemData[std::size_t(i)] == L, "a List1 item knows its line");
    fuzz::Check(f.List1.List[i] == store::PlanItem(i + 1, store::PlanText(lines[std::size_t(L)])),
                "a List1 item shows its plan");
  }
}

void CheckTodayPage(const shell::Form1& f, const RawLines& lines) {
  int lastShownAfter14 = 0;
  for (int L = 1; L < int(lines.size()); ++L) {
    const QByteArray& line = lines[std::size_t(L)];
    if (store::IsMarked(line)) continue;
    if (L >= shell::kNoteCount) {
      lastShownAfter14 = L;
      continue;
    }
    const int i = L - 1;
    fuzz::Check(f.Label10[i].Visible && f.Label11[i].Visible, "a plan's note is shown");
    fuzz::Check(f.Label10[i].Tag == QString::number(L), "a note knows its line");
    fuzz::Check(f.Label10[i].Caption == platform::files::Decode(line).left(5), "a note's bar shows the time field");
  }
  if (lastShownAfter14 > 0) {
    fuzz::Check(f.Label10[shell::kNoteCount - 1].Tag == QString::number(lastShownAfter14),
                "the last note shows the last plan from the 15th on");
  }
  for (int i = 0; i < shell::kNoteCount; ++i) {
    if (!f.Label10[i].Visible) continue;
    const int L = f.Label10[i].Tag.toInt();
    fuzz::Check(L >= 1 && L < int(lines.size()) && !store::IsMarked(lines[std::size_t(L)]),
                "a shown note stands for a plan without a verdict");
  }
}

// Looks for the alarms of the time on a plan line (of 09:05 when that line
// holds no time): the alarm window comes exactly when a plan has that time.
void CheckAlarmSearch(testsupport::TestApp& t, const RawLines& lines, int pick) {
  QString time = QStringLiteral("09:05");
  if (lines.size() > 1) {
    const QString field = QString::fromLatin1(lines[1 + std::size_t(pick) % (lines.size() - 1)].left(5));
    static const QRegularExpression hhmm(QStringLiteral("^([01]\\d|2[0-3]):[0-5]\\d$"));
    if (hhmm.match(field).hasMatch()) time = field;
  }
  const int minute = time.left(2).toInt() * 60 + time.mid(3).toInt();
  const bool due = std::any_of(lines.begin() + std::min<std::size_t>(1, lines.size()), lines.end(),
                               [&](const QByteArray& line) { return line.startsWith(time.toLatin1()); });
  alarms::SearchAlarms(t.app, minute, minute);
  fuzz::Check(t.app.Form2Loaded() == due, "the alarm comes exactly when a plan has the time");
  if (t.app.Form2Loaded()) t.app.UnloadForm2();
}

void Open(shell::Form1& f, int cell) {
  f.Label5[cell].Click();
  f.Label5[cell].DblClick();
}

void CheckEdit(testsupport::TestApp& t, std::uint8_t how, const QByteArray& before) {
  shell::Form1& f = t.app.form1;
  const RawLines lines = platform::files::ReadRawLines(t.Path(kToday));
  Open(f, kTodayCell);
  const auto after = [&] { return fuzz::FileBytes(t, kToday); };

  switch (how & 3) {
    case 0:
    case 1: {
      const bool timed = (how & 3) == 0;
      f.Text4[0].SetText(timed ? QStringLiteral("09") : QString());
      f.Text4[1].SetText(timed ? QStringLiteral("30") : QString());
      f.Text1.SetText(QStringLiteral("買菜 and call"));
      f.Command2.Click();
      const QByteArray plan = platform::files::Encode((timed ? QStringLiteral("09:30") : QStringLiteral("--:--")) +
                                                QStringLiteral(" 買菜 and call"));
      // A file without even its note line gets one, so the plan is a plan.
      const QByteArray expected = before.isEmpty() ? "\r\n" + plan + "\r\n" : fuzz::Appended(before, plan);
      fuzz::Check(after() == expected, "Add appends one plan line and keeps every byte before it");
      break;
    }
    case 2: {
      const QString note = (how & 8) ? QString() : QStringLiteral("端午節");
      f.Text3.SetText(note);
      f.Command3.Click();
      const auto bytes = after();
      if (!bytes) {
        fuzz::Check(note.isEmpty() && lines.size() <= 1, "Edit deletes only a file left with an empty note");
        break;
      }
      const RawLines now = platform::files::ReadRawLines(t.Path(kToday));
      fuzz::Check(*bytes == fuzz::Joined(now), "Edit writes whole CR LF lines");
      fuzz::Check(now.size() == std::max<std::size_t>(lines.size(), 1), "Edit keeps the number of lines");
      fuzz::Check(lines.size() <= 1 || std::equal(now.begin() + 1, now.end(), lines.begin() + 1),
                  "Edit keeps every plan line");
      fuzz::Check(now[0] == platform::files::Encode(note) || (!lines.empty() && now[0] == lines[0]),
                  "Edit writes the note or keeps the old one");
      break;
    }
    case 3: {
      if (f.List2.ListCount() == 0) break;
      const int index = (how >> 4) % f.List2.ListCount();
      const int L = f.List2.ItemData[std::size_t(index)];
      f.List2.ListIndex = index;
      f.Command1.Click();
      RawLines expected = lines;
      expected.erase(expected.begin() + L);
      const auto bytes = after();
      if (!bytes) {
        fuzz::Check(expected == RawLines{QByteArray()}, "Del deletes only a file left with an empty note");
        break;
      }
      fuzz::Check(*bytes == fuzz::Joined(expected), "Del removes its one line and keeps every other");
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t how = data[0];
  const QByteArray file = fuzz::Bytes(data + 1, size - 1);

  testsupport::TestApp t;
  t.WriteBytes(kToday, file);
  const bool otherDay = how & 4;
  if (otherDay) t.WriteBytes(kOtherDay, file);
  fuzz::Check(t.Start(), "the program starts");

  const RawLines lines = platform::files::ReadRawLines(t.Path(kToday));
  CheckMonthGrid(t.app.form1, lines, otherDay);
  CheckTodayPage(t.app.form1, lines);
  CheckAlarmSearch(t, lines, how >> 4);
  CheckEdit(t, how, file);
  fuzz::CheckNoErrorBox(t);
  return 0;
}
