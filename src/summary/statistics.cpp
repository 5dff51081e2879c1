#include "summary/statistics.h"

#include "shell/app.h"
#include "store/history_file.h"
#include "store/val.h"

#include <charconv>
#include <cmath>

namespace summary {

namespace {

// The first row whose bound holds wins.
struct GradeRow {
  int upTo;
  Grade grade;
};
const GradeRow kGrades[] = {
    {10, {"目前執行力: A", "說到做到的人"}},  {17, {"目前執行力: B", "很有責任感"}},
    {25, {"目前執行力: C", "不錯唷"}},        {33, {"目前執行力: D", "普普通通"}},
    {40, {"目前執行力: E", "再多用點心"}},    {50, {"目前執行力: FX", "有待努力"}},
    {100, {"目前執行力: F", "不及格"}},
};

QString Percent(int value) { return QString::number(value) + "%"; }

// One history record as the list shows it: its number from 1, a blank, the text.
QString HistoryItem(qsizetype number, QStringView record) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  QString item;
  item.reserve((end - digits) + 1 + record.size());
  item.append(QLatin1StringView(digits, end - digits)).append(u' ').append(record);
  return item;
}

}  // namespace

int NotDonePercent(double notDone, std::int32_t total) {
  const double quotient = notDone / double(total);
  return int(std::floor(quotient * 100.0));
}

const Grade* GradeFor(int percent) {
  for (const GradeRow& row : kGrades) {
    if (percent <= row.upTo) return &row.grade;
  }
  return nullptr;
}

float BarWidth(int percent, int trackWidth) { return float(double(percent) * trackWidth / 100.0); }

void FillHistoryList(platform::ListBox& list, const QStringList& records) {
  list.Clear();
  list.List.reserve(records.size());
  list.ItemData.reserve(std::size_t(records.size()));
  for (qsizetype i = 0; i < records.size(); ++i) list.AddItem(HistoryItem(i + 1, records[i]));
}

void MenuView_Click(shell::App& app) {
  // Every file step comes before the window is made: one that fails is
  // reported and leaves no half-filled summary loaded behind the main window.
  store::EnsureCountersFile(app);
  const store::Counts counts = store::ReadCounts(app);
  const QStringList history = store::ReadHistoryText(app);

  // The window is made before it is filled, and filled before it is shown.
  shell::Form3& f = app.GetForm3();
  f.Label3.Tag = QString::number(counts.NotDoneCount);
  f.Label4.Tag = QString::number(counts.DoneCount);
  const std::int32_t total = std::int32_t(counts.NotDoneCount) + counts.DoneCount;
  if (total > 0) {
    // The share comes from the count as the label holds it.
    const int g = NotDonePercent(double(store::Val(f.Label3.Tag)), total);
    if (const Grade* grade = GradeFor(g)) {
      f.Label6.Caption = grade->caption;
      f.Label6.ToolTipText = grade->comment;
    }
    f.Label3.Caption = Percent(g);
    f.Label4.Caption = Percent(100 - g);
    f.Shape3.SetBarWidth(BarWidth(g, f.Shape1.Width));
    f.Shape4.SetBarWidth(BarWidth(100 - g, f.Shape2.Width));
  } else {
    f.Label3.Caption = "0%";
    f.Label4.Caption = "0%";
    f.Shape3.SetBarWidth(0);
    f.Shape4.SetBarWidth(0);
  }

  FillHistoryList(f.List1, history);

  app.SummaryAnimStep = 0;
  f.Top = app.form1.Top;
  f.Left = app.form1.Left;
  f.Caption = app.VersionCaption + " - Summary";
  app.form1.Visible = false;
  f.State = platform::WindowState::Normal;
  f.Visible = true;
}

}  // namespace summary
