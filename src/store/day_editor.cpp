#include "store/day_editor.h"

#include "shell/app.h"
#include "shell/paths.h"
#include "store/day_file.h"
#include "ui/files/codepage.h"
#include "ui/files/file_ops.h"

#include <optional>

namespace store {

namespace files = ui::files;

namespace {

// What a box may hold: characters the code page stores, and no control
// characters, since a pasted line break would split one plan into two lines.
QString FileSafe(const QString& text) {
  QString kept = files::StorableOnly(text);
  kept.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
  return kept;
}

void KeepFileSafe(ui::TextBox& box) {
  const QString safe = FileSafe(box.Text());
  if (safe != box.Text()) box.SetText(safe);
}

QString DayPath(shell::App& app, const QString& day) {
  return shell::DayFilePath(app, app.ShownYear, app.ShownMonth, day);
}

// Makes sure the day has a file, then changes it. When the change fails, a
// file made only for it goes again with its folders.
template <typename Change>
void ChangeDayFile(shell::App& app, int year, int month, const QString& day, Change change) {
  const bool created = EnsureDayFile(app, year, month, day);
  try {
    change();
  } catch (const files::FileError&) {
    if (created) {
      try {
        PruneDay(app, year, month, day);
      } catch (const files::FileError&) {
        // The first failure is the one to report.
      }
    }
    throw;
  }
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
  ui::ListBox& list = app.form1.List2;
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
    ChangeDayFile(app, app.ShownYear, app.ShownMonth, day, [&] {
      const QString path = DayPath(app, day);
      QByteArray lines = files::Encode(time + ' ' + FileSafe(f.Text1.Text()));
      // A file of zero bytes has no note line yet, and the plan must not
      // become it: the empty note goes in with the plan, in one append.
      if (files::ReadBytes(path, 1).isEmpty()) lines.prepend("\r\n");
      files::AppendRawLine(path, lines);
    });
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
  ui::ListBox& list = f.List2;
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
  if (KeyAscii == '\'' || KeyAscii == '"') KeyAscii = 0;
}

void Text1_Change(shell::App& app) { KeepFileSafe(app.form1.Text1); }

void Text3_Change(shell::App& app) { KeepFileSafe(app.form1.Text3); }

}  // namespace store
