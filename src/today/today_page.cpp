#include "today/today_page.h"

#include "shell/app.h"
#include "shell/clock_text.h"
#include "shell/paths.h"
#include "store/day_file.h"
#include "platform/files/codepage.h"

#include <algorithm>
#include <array>

namespace today {

namespace {

constexpr int kNoteLineLength = 16;

}  // namespace

void ClearNote(shell::Form1& f, int i) {
  f.Label10[i].Caption.clear();
  f.Label10[i].Tag.clear();
  f.Label11[i].Caption.clear();
  f.Label10[i].Visible = false;
  f.Label11[i].Visible = false;
  f.NotePlans[std::size_t(i)] = {};
}

QString WrapNoteText(const QString& text) {
  QString caption;
  qsizetype n = text.size();
  for (int k = 0;; ++k) {
    const QString piece = text.mid(7 * k, n > 8 ? 7 : n);
    caption += (k == 0 ? QStringLiteral("  ") : QStringLiteral("\r\n   ")) + piece;
    if (n <= 8) return caption;
    n -= 7;
  }
}

void MenuMain_Click(shell::App& app) {
  shell::Form1& f = app.form1;
  f.MenuSetting.Enabled = true;
  f.MenuMain.Enabled = false;

  const QDate today(app.TodayYear, app.TodayMonth, app.TodayDay);
  // A note that gets no plan here is cleared: a note always stands for a plan
  // of today's file, or is hidden.
  std::array<bool, shell::kNoteCount> filled{};
  const auto lines = store::ReadDayFile(shell::DayFilePath(app, app.TodayYear, app.TodayMonth, app.TodayDay));
  if (lines) {
    f.Label9.Visible = false;
    for (int L = 0; L < int(lines->size()); ++L) {
      const QByteArray& raw = (*lines)[std::size_t(L)];
      if (L == 0) {
        if (!raw.isEmpty()) {
          f.Label9.Caption = "( " + platform::files::DecodeStart(raw, kNoteLineLength) + " )";
          f.Label9.Visible = true;
        }
        continue;
      }
      if (store::IsMarked(raw)) continue;
      // Plans past the 14th all land on the last note; the last one shown wins.
      const int i = std::min(L - 1, shell::kNoteCount - 1);
      f.Label11[i].Caption = WrapNoteText(store::PlanText(raw));
      f.Label10[i].Caption = platform::files::DecodeStart(raw, 5);
      f.Label10[i].Tag = QString::number(L);
      f.Label10[i].Visible = true;
      f.Label11[i].Visible = true;
      f.NotePlans[std::size_t(i)] = {today, raw};
      filled[std::size_t(i)] = true;
    }
  }
  for (int i = 0; i < shell::kNoteCount; ++i) {
    if (!filled[std::size_t(i)]) ClearNote(f, i);
  }

  f.Frame1.Visible = true;
  f.Label7.Caption = shell::DateLine(today);
}

}  // namespace today
