#include "store/day_editor.h"

#include "shell/app.h"
#include "shell/paths.h"
#include "store/add_plan.h"
#include "store/day_file.h"
#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <optional>

namespace store {

namespace files = platform::files;

namespace {

void KeepFileSafe(platform::TextBox& box) {
  const QString safe = FileSafe(box.Text());
  if (safe != box.Text()) box.SetText(safe);
}

QString DayPath(shell::App& app, const QString& day) {
  return shell::DayFilePath(app, app.ShownYear, app.ShownMonth, day);
}

// Runs a button's file steps, then shows the day as the disk holds it. That
// happens after a failed step too, since an earlier step may already have
// changed the file; the failure is reported once the page is right.
template <typename Steps>
void ChangeThenShow(shell::App& app, bool refillList, Steps steps) {
  std::optional<files::FileError> failure;
  try {
    steps();
  } catch (const files::FileError& error) {
    failure = error;
  }
  try {
    if (refillList) RefillList2(app);
  } catch (const files::FileError& error) {
    if (!failure) failure = error;
  }
  if (app.BuildMonth) app.BuildMonth();
  if (failure) throw *failure;
}

}  // namespace

void RefillList2(shell::App& app) {
  platform::ListBox& list = app.form1.List2;
  list.Clear();
  const auto lines = ReadDayFile(DayPath(app, app.form1.Command1.Tag));
  if (!lines) return;
  for (int n = 1; n < int(lines->size()); ++n) list.AddItem(PlanItem(n, PlanText((*lines)[n])), n);
}

void Command2_Click(shell::App& app) {
  shell::Form1& f = app.form1;
  QString time = QStringLiteral("--:--");
  if (f.Text4[0].Text().size() == 2 && f.Text4[1].Text().size() == 2) {
    time = f.Text4[0].Text() + ':' + f.Text4[1].Text();
  }
  f.Text4[0].SetText({});
  f.Text4[1].SetText({});

  const QString day = f.Command1.Tag;
  if (f.Text1.Text().isEmpty() || day.isEmpty()) return;

  ChangeThenShow(app, true, [&] {
    AddPlans(app, app.ShownYear, app.ShownMonth, day, {{time, f.Text1.Text()}});
    f.Text1.SetText({});
  });
}

void Command3_Click(shell::App& app) {
  shell::Form1& f = app.form1;
  const QString day = f.Command1.Tag;
  if (day.isEmpty()) return;

  const int year = app.ShownYear, month = app.ShownMonth;
  ChangeThenShow(app, false, [&] {
    ChangeDayFile(app, year, month, day, [&] {
      RawLines lines = ReadDayFile(DayPath(app, day)).value_or(RawLines{});
      const QString note = FileSafe(f.Text3.Text());
      if (lines.empty()) {
        lines.push_back(files::Encode(note));
      } else if (FileSafe(files::Decode(lines[0])) != note) {
        // An unchanged note keeps its bytes, even those the code page cannot show.
        lines[0] = files::Encode(note);
      }
      ReplaceDayFile(app, year, month, day, lines);
    });
    PruneDay(app, year, month, day);
  });
}

void Command1_Click(shell::App& app) {
  shell::Form1& f = app.form1;
  platform::ListBox& list = f.List2;
  const QString day = f.Command1.Tag;
  if (list.ListIndex < 0 || list.ListIndex >= list.ListCount() || day.isEmpty()) return;

  const QString path = DayPath(app, day);
  auto lines = ReadDayFile(path);
  if (!lines) return;
  // Each item knows the file line it shows; the list may skip marked lines,
  // so the item's position is not the line number.
  const int line = list.ItemData[std::size_t(list.ListIndex)];
  if (line < 1 || line >= int(lines->size())) return;
  // The file was changed behind the list's back: delete nothing rather than
  // the wrong plan.
  const QString shown = list.List[list.ListIndex];
  if (shown.mid(shown.indexOf(QStringLiteral("  ")) + 2) != PlanText((*lines)[std::size_t(line)])) return;

  lines->erase(lines->begin() + line);
  const int year = app.ShownYear, month = app.ShownMonth;
  ChangeThenShow(app, true, [&] {
    ReplaceDayFile(app, year, month, day, *lines);
    PruneDay(app, year, month, day);
  });
}

void Text1_KeyPress(shell::App&, int& KeyAscii) {
  if (IsRefusedQuote(KeyAscii)) KeyAscii = 0;
}

void Text1_Change(shell::App& app) { KeepFileSafe(app.form1.Text1); }

void Text3_Change(shell::App& app) { KeepFileSafe(app.form1.Text3); }

}  // namespace store
