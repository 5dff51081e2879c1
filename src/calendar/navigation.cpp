#include "calendar/navigation.h"

#include "calendar/month_grid.h"
#include "shell/app.h"
#include "shell/paths.h"
#include "store/day_file.h"
#include "store/val.h"
#include "platform/files/codepage.h"

namespace calendar {

namespace {

// The editor's column header: alarm, new plan, the day's note.
const QString kEditorHeader = QStringLiteral("-鬧 鈴- ‧新 的 行 程 計 畫") + QString(18, QChar(0x3000)) +
                              QStringLiteral("‧當 日 行 程 節 慶");

void ShowListMode(shell::Form1& f) {
  f.Text2.Top = 720;
  f.Text2.Height = 310;
  for (platform::Control* c : std::initializer_list<platform::Control*>{&f.Command1, &f.Command2, &f.Command3, &f.List2,
                                                            &f.Text1, &f.Text3, &f.Text4[0], &f.Text4[1]}) {
    c->Visible = false;
  }
  f.List1.Clear();
  f.List1.Visible = true;
}

}  // namespace

void MenuSetting_Click(shell::App& app) {
  shell::Form1& f = app.form1;
  f.Frame1.Visible = false;
  f.MenuSetting.Enabled = false;
  f.MenuMain.Enabled = true;
}

void Label4_Click(shell::App& app, int Index) {
  shell::Form1& f = app.form1;
  ShowListMode(f);
  f.Label1.Caption.clear();
  f.Label4[Index].Tag = QStringLiteral("1");
  app.ShownMonth = std::int16_t(app.ShownMonth + (Index == 0 ? -1 : 1));
  if (app.BuildMonth) app.BuildMonth();
}

void Label5_Click(shell::App& app, int Index) {
  shell::Form1& f = app.form1;
  f.Text2.SetText({});
  ShowListMode(f);

  const QString t = f.Label5[Index].Tag;
  const long day = store::Val(t);
  if (day == 0) {
    f.Label1.Caption.clear();
    return;
  }
  f.Command1.Tag = t;
  if (day == app.TodayDay && app.ShownYear == app.TodayYear && app.ShownMonth == app.TodayMonth) {
    f.Label1.Caption = kTodayHeading;
  } else {
    f.Label1.Caption = DayHeading(app.ShownYear, app.ShownMonth, t);
  }

  const auto lines = store::ReadDayFile(shell::DayFilePath(app, app.ShownYear, app.ShownMonth, t));
  if (!lines) {
    f.List1.AddItem(store::kNoPlansItem, -1);
    return;
  }
  // Plans already judged today are not listed; an empty file lists nothing.
  if (!lines->empty() && store::ListUnmarkedPlans(f.List1, *lines) == 0) f.List1.AddItem(store::kNoPlansItem, -1);
}

void Label5_DblClick(shell::App& app, int Index) {
  shell::Form1& f = app.form1;
  if (store::Val(f.Label5[Index].Tag) == 0) return;

  f.Text2.SetText(kEditorHeader);
  if (!f.Command1.Tag.isEmpty()) {
    f.List1.Visible = false;
    f.Command1.Visible = f.Command2.Visible = f.Command3.Visible = true;

    const auto lines = store::ReadDayFile(shell::DayFilePath(app, app.ShownYear, app.ShownMonth, f.Command1.Tag));
    f.Text3.SetText({});
    if (lines && !lines->empty()) f.Text3.SetText(platform::files::Decode(lines->front()));

    // The editor starts from the list the click made; each item keeps the
    // file line it shows, which Del relies on.
    f.List2.Clear();
    for (int i = 0; i < f.List1.ListCount(); ++i) {
      f.List1.ListIndex = i;
      if (f.List1.Text() != store::kNoPlansItem) f.List2.AddItem(f.List1.Text(), f.List1.ItemData[std::size_t(i)]);
    }

    for (platform::Control* c : std::initializer_list<platform::Control*>{&f.List2, &f.Text1, &f.Text3, &f.Text4[0], &f.Text4[1]}) {
      c->Visible = true;
    }
    f.Text2.Top = 750;
    f.Text2.Height = 280;
  }
}

}  // namespace calendar
