// The exit's sweep over ten past years (3,650 day files of 5 plans each)
// against the floor of reading and deleting the same files in a plain loop.
// Each iteration lays the files out afresh, untimed, so both start from the
// same state: with argument 1 the files are flushed to the disk first, as
// day files written long ago are (on a disk mounted with discard, freeing
// their blocks then dominates both sides); with 0 only the folder entries
// are committed and the contents stay in the page cache, where the sweep's
// own flushes weigh most.
//
//   sweep_bench --benchmark_repetitions=6 --benchmark_enable_random_interleaving=true
//               --benchmark_report_aggregates_only=true

#include "day_layout.h"
#include "shell/app.h"
#include "shell/paths.h"
#include "store/shutdown.h"
#include "test_app.h"
#include "platform/files/codepage.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace {

constexpr int kFirstYear = 2005;
constexpr int kYears = 10;

testsupport::TestApp& Folder() {
  static std::unique_ptr<testsupport::TestApp> t = [] {
    auto app = std::make_unique<testsupport::TestApp>();
    app->Start();
    app->app.TodayYear = kFirstYear + kYears;
    app->app.TodayMonth = 1;
    app->app.TodayDay = 1;
    return app;
  }();
  return *t;
}

// Lays out the ten years (365 days each) and returns the day files' paths.
QStringList LayOut(shell::App& app, bool flushed) {
  QByteArray day = platform::files::Encode(QStringLiteral("中秋節\r\n"));
  for (int plan = 0; plan < 5; ++plan) {
    day += platform::files::Encode(QStringLiteral("%1:30 與朋友在車站前碰面，一起去吃午飯 %2\r\n").arg(8 + plan, 2, 10, QChar('0')).arg(plan));
  }
  const QStringList paths =
      benchsupport::LayOutYears(app, kFirstYear, kYears, false, [&day](int) { return day; });
  benchsupport::WriteFile(shell::CountersPath(app), QByteArray(4, '\0'), false);
  benchsupport::WriteFile(shell::HistoryPath(app), {}, false);
  if (flushed) {
    ::sync();
  } else {
    // Commits the layout's folders and names to the journal, so the sweep's
    // first flush does not carry them; the files' contents stay in memory.
    const int fd = ::open(QFile::encodeName(shell::CountersPath(app)).constData(), O_WRONLY);
    ::fsync(fd);
    ::close(fd);
  }
  return paths;
}

void BM_Sweep(benchmark::State& state) {
  shell::App& app = Folder().app;
  for (auto _ : state) {
    state.PauseTiming();
    LayOut(app, state.range(0) != 0);
    state.ResumeTiming();
    store::SweepPastDays(app);
  }
  if (QDir(shell::DataFolderPath(app)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() != 0 ||
      QFile(shell::HistoryPath(app)).size() < 3650 * 5 * 20) {
    state.SkipWithError("the sweep left days behind");
  }
}
BENCHMARK(BM_Sweep)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(0)->Arg(1);

// The floor: read each day file whole and delete it, nothing else; with
// removeFolders the emptied month and year folders go too, which the sweep
// has to do and which costs milliseconds a folder on some disks.
void ReadAndDelete(benchmark::State& state, bool removeFolders) {
  shell::App& app = Folder().app;
  for (auto _ : state) {
    state.PauseTiming();
    const QStringList paths = LayOut(app, state.range(0) != 0);
    state.ResumeTiming();
    qsizetype total = 0;
    for (const QString& path : paths) {
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open");
      total += file.readAll().size();
      file.close();
      if (::unlink(QFile::encodeName(path).constData()) != 0) state.SkipWithError("cannot delete");
    }
    if (removeFolders) {
      for (int year = kFirstYear; year < kFirstYear + kYears; ++year) {
        for (int month = 1; month <= 12; ++month) ::rmdir(QFile::encodeName(shell::MonthFolderPath(app, year, month)).constData());
        ::unlink(QFile::encodeName(shell::YearFolderPath(app, year) + "/month.qdr").constData());
        ::rmdir(QFile::encodeName(shell::YearFolderPath(app, year)).constData());
      }
    }
    benchmark::DoNotOptimize(total);
  }
}

void BM_ReadAndDeleteOnly(benchmark::State& state) { ReadAndDelete(state, false); }
BENCHMARK(BM_ReadAndDeleteOnly)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(0)->Arg(1);

void BM_ReadDeleteAndRemoveFolders(benchmark::State& state) { ReadAndDelete(state, true); }
BENCHMARK(BM_ReadDeleteAndRemoveFolders)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(0)->Arg(1);

}  // namespace
