// The alarm search of one tick: today's day file read in full and every
// plan line compared with the minutes searched.

#include "alarm/clock_tick.h"
#include "shell/app.h"
#include "test_app.h"

#include <benchmark/benchmark.h>

namespace {

// A note line and 200 plans spread over the day, two of them at 09:30.
QStringList DayOf200Plans() {
  QStringList lines{"今天要記得帶證件去銀行"};
  for (int i = 0; i < 198; ++i) {
    const int minute = 6 * 60 + 3 + i * 5;  // 06:03 to 22:28, never 09:30 or 09:31
    lines << QString("%1:%2 第%3項：打電話給銀行詢問貸款的事情")
                 .arg(minute / 60, 2, 10, QLatin1Char('0'))
                 .arg(minute % 60, 2, 10, QLatin1Char('0'))
                 .arg(i + 1);
  }
  lines << "09:30 Call the bank about the loan" << "09:30 健身房";
  return lines;
}

void Search(benchmark::State& state, int firstMinute, int lastMinute, bool due) {
  testsupport::TestApp t;
  t.WriteLines("datas/2005/8/5.dat", DayOf200Plans());
  shell::App& app = t.app;
  app.VersionCaption = shell::kVersionCaption;
  app.TodayYear = 2005;
  app.TodayMonth = 8;
  app.TodayDay = 5;
  for (auto _ : state) alarms::SearchAlarms(app, firstMinute, lastMinute);
  if (app.Form2Loaded() != due) state.SkipWithError("wrong matches");
}

constexpr int k0930 = 9 * 60 + 30;
void BM_SearchNoPlanDue(benchmark::State& state) { Search(state, k0930 + 1, k0930 + 1, false); }
void BM_SearchTwoPlansDue(benchmark::State& state) { Search(state, k0930, k0930, true); }
// A tick after the machine slept the whole day up to 23:59.
void BM_SearchAWholeDay(benchmark::State& state) { Search(state, 0, 24 * 60 - 1, true); }

BENCHMARK(BM_SearchNoPlanDue)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchTwoPlansDue)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchAWholeDay)->Unit(benchmark::kMicrosecond);

}  // namespace
