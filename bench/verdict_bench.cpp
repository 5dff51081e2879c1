// One verdict "列為未完成" as the user gives it: the line marked, the count
// and the history written, the calendar's lists and grid rebuilt and the today
// page refilled, on a day of 30 plans in a month of 31 day files.
//
//   verdict_bench --benchmark_repetitions=20 --benchmark_report_aggregates_only=true
//
// The time runs from the answer Yes to the repainted page: the verdict's
// journal is on the disk by then, while the flushes of the files it changed
// and the journal's removal come after the repaint, untimed here. The counter
// "flushes" is how many times a verdict waits for the disk before the repaint.
// The program folder lies under TMPDIR: on a real disk the time is mostly
// flush latency; TMPDIR=/dev/shm leaves the program's own work.

#include "shell/app.h"
#include "shell/paths.h"
#include "test_app.h"
#include "today/today_page.h"
#include "platform/files/file_ops.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The fake clock's day: 5 August 2005, so the grid lists today's plans too.
const QString kToday = QStringLiteral("datas/2005/8/5.dat");

QStringList DayLines() {
  QStringList lines{QStringLiteral("父親節前的準備")};
  for (int plan = 0; plan < 30; ++plan) {
    lines.append(QStringLiteral("%1:30 與朋友在車站前碰面，一起去吃午飯 %2").arg(8 + plan % 12, 2, 10, QChar('0')).arg(plan));
  }
  return lines;
}

testsupport::TestApp& FullMonth() {
  static std::unique_ptr<testsupport::TestApp> t = [] {
    auto app = std::make_unique<testsupport::TestApp>();
    for (int day = 1; day <= 31; ++day) app->WriteLines(QStringLiteral("datas/2005/8/%1.dat").arg(day), DayLines());
    app->Start();
    return app;
  }();
  return *t;
}

void BM_VerdictNotDone(benchmark::State& state) {
  testsupport::TestApp& t = FullMonth();
  shell::Form1& f = t.app.form1;
  const QByteArray fresh = testsupport::Cp950Lines(DayLines());
  t.platform.holdAfterRepaint = true;
  std::uint64_t flushes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    t.WriteBytes(kToday, fresh);
    today::MenuMain_Click(t.app);
    const std::uint64_t before = platform::files::FlushCount();
    state.ResumeTiming();
    // A right click on note 0 picked "列為未完成"; the box answers Yes.
    f.Label12.Tag = QStringLiteral("0");
    f.PlansPop_Del.Click();
    state.PauseTiming();
    flushes += platform::files::FlushCount() - before;
    t.platform.RunAfterRepaint();
    state.ResumeTiming();
  }
  state.counters["flushes"] = benchmark::Counter(double(flushes), benchmark::Counter::kAvgIterations);
  bool onlyQuestions = true;  // no error box on the way
  for (const testsupport::ShownMessage& m : t.platform.messages) onlyQuestions &= m.buttons == platform::Buttons::YesNo;
  if (!t.ReadBytes(kToday).contains("\r\nx08:30 ") || f.Label10[0].Visible || f.List1.ListCount() != 29 ||
      !onlyQuestions || t.Exists(QStringLiteral("datas/quendar.~jnl"))) {
    state.SkipWithError("the verdict did not go through");
  }
  t.platform.messages.clear();
}
BENCHMARK(BM_VerdictNotDone)->Unit(benchmark::kMicrosecond);

}  // namespace
