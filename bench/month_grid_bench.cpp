// Rebuilding the month grid against the floor of merely opening and reading
// the same day files: a month whose 31 days each have a note and 20 plans.
//
//   month_grid_bench --benchmark_repetitions=20 --benchmark_report_aggregates_only=true

#include "calendar/month_grid.h"
#include "shell/app.h"
#include "shell/paths.h"
#include "test_app.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Not today's month, so the build counts every day; today's month would add
// the listing of one day's plans.
constexpr int kYear = 2005;
constexpr int kMonth = 10;

testsupport::TestApp& FullMonth() {
  static std::unique_ptr<testsupport::TestApp> t = [] {
    auto app = std::make_unique<testsupport::TestApp>();
    app->Start();
    for (int day = 1; day <= 31; ++day) {
      QStringList lines{QStringLiteral("國慶日連假出遊")};
      for (int plan = 0; plan < 20; ++plan) {
        lines.append(QStringLiteral("%1:30 與朋友在車站前碰面，一起去吃午飯 %2").arg(8 + plan % 12, 2, 10, QChar('0')).arg(plan));
      }
      app->WriteLines(QStringLiteral("datas/%1/%2/%3.dat").arg(kYear).arg(kMonth).arg(day), lines);
    }
    app->app.ShownYear = kYear;
    app->app.ShownMonth = kMonth;
    return app;
  }();
  return *t;
}

void BM_BuildMonth(benchmark::State& state) {
  shell::App& app = FullMonth().app;
  for (auto _ : state) {
    calendar::BuildMonth(app);
    benchmark::DoNotOptimize(app.form1.Label5[31].Caption);
  }
  if (app.form1.Label5[6].Caption != QStringLiteral("1‧國慶日\r\n  20 項計畫")) state.SkipWithError("wrong grid");
}
BENCHMARK(BM_BuildMonth)->Unit(benchmark::kMicrosecond);

// The floor: open each day file and read it whole, nothing else.
void BM_ReadDayFilesOnly(benchmark::State& state) {
  shell::App& app = FullMonth().app;
  QStringList paths;
  for (int day = 1; day <= 31; ++day) paths.append(shell::DayFilePath(app, kYear, kMonth, day));
  for (auto _ : state) {
    qsizetype total = 0;
    for (const QString& path : paths) {
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open");
      total += file.readAll().size();
    }
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_ReadDayFilesOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
