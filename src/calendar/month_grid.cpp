#include "calendar/month_grid.h"

#include "shell/app.h"
#include "shell/file_error.h"
#include "shell/paths.h"
#include "store/day_file.h"
#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <optional>

namespace calendar {

namespace files = platform::files;

namespace {

constexpr int kFirstYear = 2001;
constexpr int kLastYear = 2050;

// The window and the today page's background follow the number of week rows.
constexpr int kFiveRowShapeHeight = 3710;
constexpr int kSixRowShapeHeight = 4190;

int DaysInMonth(int year, int month) {
  switch (month) {
    case 4: case 6: case 9: case 11: return 30;
    case 2: return year % 4 == 0 ? 29 : 28;
    default: return 31;
  }
}

// Days from 1 January 2000 to the 1st of the month. Every fourth year is a
// leap year, which holds for the whole range the calendar shows.
std::int32_t MonthStart(int year, int month) {
  const int y = year - 2000;
  std::int32_t serial = 1461 * (y / 4) + 365 * (y % 4) + (y % 4 != 0 ? 1 : 0);
  for (int m = 1; m < month; ++m) serial += DaysInMonth(year, m);
  return serial;
}

// Puts ShownYear/ShownMonth into the calendar's range, one message for each
// year it had to step back.
void NormaliseMonth(shell::App& app) {
  for (;;) {
    if (app.ShownMonth < 1) {
      app.ShownMonth = 12;
      --app.ShownYear;
    } else if (app.ShownMonth > 12) {
      app.ShownMonth = 1;
      ++app.ShownYear;
    }
    if (app.ShownYear < kFirstYear) {
      ++app.ShownYear;
      app.ShownMonth = 1;
      app.platform.MsgBox(QStringLiteral("2000 年已經超出程式設定範圍"), platform::Buttons::OK, shell::kErrorTitle);
    } else if (app.ShownYear > kLastYear) {
      --app.ShownYear;
      app.ShownMonth = 12;
      app.platform.MsgBox(QStringLiteral("2051 年已經超出程式設定範圍"), platform::Buttons::OK, shell::kErrorTitle);
    } else {
      return;
    }
  }
}

}  // namespace

QString DayHeading(int year, int month, const QString& day) {
  return QStringLiteral("%1 年 %2 月 %3 日").arg(year).arg(month).arg(day);
}

void BuildMonth(shell::App& app) {
  shell::Form1& f = app.form1;
  // The grid is built to the end even when a file fails; the first failure is
  // reported once the page is whole.
  std::optional<files::FileError> failure;

  f.Text2.SetText({});
  const QString dataFolder = shell::DataFolderPath(app);
  if (!files::FolderExists(dataFolder)) {
    try {
      files::MakeFolder(dataFolder);
    } catch (const files::FileError& error) {
      failure = error;
    }
  }

  NormaliseMonth(app);
  const int year = app.ShownYear, month = app.ShownMonth;
  app.MonthDays = std::int16_t(DaysInMonth(year, month));
  app.MonthStartSerial = MonthStart(year, month);
  app.FirstWeekday = (app.MonthStartSerial + 6) % 7;

  for (int i = 0; i < shell::kCellCount; ++i) {
    platform::Label& cell = f.Label5[i];
    cell.Caption.clear();
    cell.BackColor = shell::kCellColor;
    cell.Tag = QStringLiteral("0");
  }
  f.List1.Clear();

  const bool todaysMonth = year == app.TodayYear && month == app.TodayMonth;
  // Without a month folder no day has a file; spare the look-ups.
  const bool monthHasFolder = files::FolderExists(shell::MonthFolderPath(app, year, month));
  int c = app.FirstWeekday;
  for (int d = 1; d <= app.MonthDays; ++d, ++c) {
    const QString t = QString::number(d);
    platform::Label& cell = f.Label5[c];
    const bool today = todaysMonth && d == app.TodayDay;
    if (today) {
      cell.BackColor = shell::kTodayCellColor;
      f.Label1.Caption = kTodayHeading;
      f.Label6[2].Caption = QString::number(c);
    }
    cell.Caption = t + QStringLiteral("‧");
    cell.Tag = t;

    std::optional<store::RawLines> lines;
    if (monthHasFolder) {
      try {
        lines = store::ReadDayFile(shell::DayFilePath(app, year, month, t));
      } catch (const files::FileError& error) {
        if (!failure) failure = error;
      }
    }
    if (!lines) {
      if (today) {
        f.List1.Clear();
        f.List1.AddItem(store::kNoPlansItem, -1);
      }
      continue;
    }
    if (lines->empty()) continue;
    const QByteArray& note = lines->front();
    if (!note.isEmpty()) cell.Caption += files::DecodeStart(note, 3);
    // Plans already judged today are neither listed nor counted.
    const int plans = today ? store::ListUnmarkedPlans(f.List1, *lines) : int(lines->size()) - 1;
    if (plans >= 1) cell.Caption += QStringLiteral("\r\n  %1 項計畫").arg(plans);
  }

  f.Label2.Caption = QStringLiteral("%1 年 %2 月 ").arg(year).arg(month);

  if (app.MonthDays + app.FirstWeekday > 35) {
    f.Height = shell::kSixRowHeight;
    f.Shape1.Height = kSixRowShapeHeight;
  } else {
    f.Height = shell::kFiveRowHeight;
    f.Shape1.Height = kFiveRowShapeHeight;
  }

  // The heading names the selected day until the user steps to another month.
  if (f.Label4[0].Tag != QStringLiteral("1") && f.Label4[1].Tag != QStringLiteral("1") &&
      !f.Command1.Tag.isEmpty()) {
    f.Label1.Caption = DayHeading(year, month, f.Command1.Tag);
    f.Label4[0].Tag.clear();
    f.Label4[1].Tag.clear();
  }

  if (failure) shell::ReportFileError(app, *failure);
}

}  // namespace calendar
