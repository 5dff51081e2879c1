#include "shell/clock_text.h"

#include "shell/app.h"

namespace shell {

namespace {
QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }
}  // namespace

void SetNowTexts(App& app, const QTime& time) {
  app.NowHour = TwoDigits(time.hour());
  app.NowMinute = TwoDigits(time.minute());
  app.NowSecond = TwoDigits(time.second());
}

QString DateLine(const QDate& date) {
  static const char* const kWeekdays[7] = {"一", "二", "三", "四", "五", "六", "日"};
  return QStringLiteral("%1 年 %2 月 %3 日 (%4)")
      .arg(date.year())
      .arg(date.month())
      .arg(date.day())
      .arg(QString::fromUtf8(kWeekdays[date.dayOfWeek() - 1]));
}

}  // namespace shell
