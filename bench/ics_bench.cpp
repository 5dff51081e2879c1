// quendar-ics on ten years of plans (3,650 day files of 8 plans, 29,200
// plans, and a note a day): the export against only reading those day files,
// the import of the exported file into an empty folder against only writing
// the same day files, each flushed to the disk once, as the lightest durable
// write of them. Run with TMPDIR=/dev/shm to take the disk out of both.
//
//   ics_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "day_layout.h"
#include "ics/command_line.h"
#include "store/day_file.h"
#include "test_app.h"
#include "platform/files/codepage.h"

#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kFirstYear = 2030, kYears = 10, kPlansADay = 8;
const QDate kToday(kFirstYear, 1, 1);

QByteArray DayBytes(int day) {
  QByteArray bytes = platform::files::Encode(QStringLiteral("中秋節 %1\r\n").arg(day));
  for (int plan = 0; plan < kPlansADay; ++plan) {
    const QString time = plan % 2 ? QStringLiteral("--:--") : QStringLiteral("%1:30").arg(8 + plan, 2, 10, QChar('0'));
    bytes += platform::files::Encode(time + QStringLiteral(" 與朋友在車站前碰面，一起去吃午飯 %1\r\n").arg(plan));
  }
  return bytes;
}

// Writes the ten years into the folder the App stands on and returns the
// day files' paths.
QStringList LayOut(shell::App& app) { return benchsupport::LayOutYears(app, kFirstYear, kYears, true, DayBytes); }

struct Source {
  testsupport::TestApp t{false};
  QStringList paths = LayOut(t.app);
  QTemporaryDir outside;  // the calendar file, out of the program folder
  QString calendar = outside.path() + QStringLiteral("/ten_years.ics");
};

Source& Ten() {
  static std::unique_ptr<Source> source = [] {
    auto s = std::make_unique<Source>();
    std::FILE* null = std::fopen("/dev/null", "w");
    if (ics::Run({"quendar-ics", "export", "--folder", s->t.dir.path(), "-o", s->calendar}, {kToday, {}}, null, null) != 0) {
      std::abort();
    }
    std::fclose(null);
    return s;
  }();
  return *source;
}

void BM_Export(benchmark::State& state) {
  Source& source = Ten();
  std::FILE* null = std::fopen("/dev/null", "w");
  for (auto _ : state) {
    if (ics::Run({"quendar-ics", "export", "--folder", source.t.dir.path()}, {kToday, {}}, null, null) != 0) std::abort();
  }
  std::fclose(null);
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);

void BM_ReadFloor(benchmark::State& state) {
  Source& source = Ten();
  for (auto _ : state) {
    for (const QString& path : source.paths) benchmark::DoNotOptimize(store::ReadDayFile(path));
  }
}
BENCHMARK(BM_ReadFloor)->Unit(benchmark::kMillisecond);

void BM_Import(benchmark::State& state) {
  Source& source = Ten();
  std::FILE* null = std::fopen("/dev/null", "w");
  for (auto _ : state) {
    state.PauseTiming();
    auto target = std::make_unique<QTemporaryDir>();
    state.ResumeTiming();
    if (ics::Run({"quendar-ics", "import", "--folder", target->path(), source.calendar}, {kToday, {}}, null, null) != 0) {
      std::abort();
    }
    state.PauseTiming();
    target.reset();
    state.ResumeTiming();
  }
  std::fclose(null);
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WriteFloor(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto target = std::make_unique<testsupport::TestApp>(false);
    state.ResumeTiming();
    LayOut(target->app);
    state.PauseTiming();
    target.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WriteFloor)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
