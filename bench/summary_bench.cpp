// Opening the summary on a history of 100,000 records, against the floor of
// merely reading and decoding the same history file.
//
//   summary_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "shell/app.h"
#include "shell/paths.h"
#include "summary/statistics.h"
#include "test_app.h"
#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kRecords = 100000;

testsupport::TestApp& LongHistory() {
  static std::unique_ptr<testsupport::TestApp> t = [] {
    auto app = std::make_unique<testsupport::TestApp>();
    app->Start();
    QStringList lines;
    for (int i = 0; i < kRecords; ++i) lines.append(QStringLiteral("與朋友在車站前碰面，一起去吃午飯 %1").arg(i));
    app->WriteLines("datas/quendar.dat", lines);
    app->WriteBytes("datas/quendar.qdr", platform::files::Int16Bytes(kRecords / 4) + platform::files::Int16Bytes(30000));
    return app;
  }();
  return *t;
}

void BM_OpenSummary(benchmark::State& state) {
  shell::App& app = LongHistory().app;
  for (auto _ : state) {
    // Each time on a new window, as after the summary was left; the old
    // window and its list are done away with outside the measure.
    state.PauseTiming();
    app.UnloadForm3();
    app.GetForm3();
    app.UnloadForm3();
    state.ResumeTiming();
    summary::MenuView_Click(app);
    benchmark::DoNotOptimize(app.GetForm3().List1.List);
  }
  const shell::Form3& f = app.GetForm3();
  if (f.List1.ListCount() != kRecords || f.List1.List.last() != QStringLiteral("100000 與朋友在車站前碰面，一起去吃午飯 99999"))
    state.SkipWithError("wrong list");
}
BENCHMARK(BM_OpenSummary)->Unit(benchmark::kMillisecond);

// The floor: read the history file whole and decode it, nothing else.
void BM_ReadAndDecodeHistoryOnly(benchmark::State& state) {
  const QString path = shell::HistoryPath(LongHistory().app);
  for (auto _ : state) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open");
    const QString text = platform::files::Decode(file.readAll());
    benchmark::DoNotOptimize(text.size());
  }
}
BENCHMARK(BM_ReadAndDecodeHistoryOnly)->Unit(benchmark::kMillisecond);

}  // namespace
