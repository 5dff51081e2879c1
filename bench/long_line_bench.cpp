// A day whose plan line is 10 MB long: a click on the day (lists, note box)
// and a fill of the today page, against the floor of merely reading the file.
// Only the start of the line is shown, so both stay near the floor.
//
//   long_line_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "shell/app.h"
#include "shell/paths.h"
#include "store/day_file.h"
#include "test_app.h"
#include "today/today_page.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Today is 5 August 2005 (a Monday starts the month: day 5 is cell 5).
testsupport::TestApp& DayWithAHugePlan() {
  static std::unique_ptr<testsupport::TestApp> t = [] {
    auto app = std::make_unique<testsupport::TestApp>();
    app->WriteBytes("datas/2005/8/5.dat",
                    "\r\n09:30 " + QByteArray("\xa4\xe5").repeated(5'000'000) + "\r\n--:-- short\r\n");
    app->Start();
    return app;
  }();
  return *t;
}

void BM_ClickTheDay(benchmark::State& state) {
  shell::Form1& f = DayWithAHugePlan().app.form1;
  for (auto _ : state) {
    f.Label5[5].Click();
    f.Label5[5].DblClick();
  }
  if (f.List2.ListCount() != 2 || f.List2.List[0].size() != 3 + store::kShownLength) state.SkipWithError("wrong list");
}
BENCHMARK(BM_ClickTheDay)->Unit(benchmark::kMillisecond);

void BM_FillTheTodayPage(benchmark::State& state) {
  shell::App& app = DayWithAHugePlan().app;
  for (auto _ : state) today::MenuMain_Click(app);
  if (!app.form1.Label11[0].Visible) state.SkipWithError("no note");
}
BENCHMARK(BM_FillTheTodayPage)->Unit(benchmark::kMillisecond);

// The floor: open the day file and read it whole, nothing else.
void BM_ReadTheFileOnly(benchmark::State& state) {
  shell::App& app = DayWithAHugePlan().app;
  const QString path = shell::DayFilePath(app, 2005, 8, 5);
  for (auto _ : state) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open");
    benchmark::DoNotOptimize(file.readAll().size());
  }
}
BENCHMARK(BM_ReadTheFileOnly)->Unit(benchmark::kMillisecond);

}  // namespace
