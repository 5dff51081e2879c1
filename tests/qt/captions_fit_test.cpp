// Every caption the windows lay out can be read in full at 96 DPI with the
// program's fonts: measured with the widget's own font against its control.

#include "alarm/alarm_window.h"
#include "qt_fixture.h"
#include "today/today_page.h"

#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>

namespace {

const QChar kHan(0x8A08);  // 計: a Chinese character as wide as any
QString Han(int n) { return QString(n, kHan); }

class CaptionsFit : public QtApp {
 protected:
  // The text's lines, each within the control's width, all within its height.
  static void ExpectFits(QWidget* w, const QString& text, const char* what) {
    const QFontMetrics fm(w->font());
    const QRect need = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, text);
    const QRect room = w->contentsRect();
    EXPECT_LE(need.width(), room.width()) << what << ": \"" << text.toStdString() << "\" at "
                                          << w->font().pointSizeF() << " pt";
    EXPECT_LE(need.height(), room.height()) << what << ": \"" << text.toStdString() << "\" at "
                                            << w->font().pointSizeF() << " pt";
  }
  QString Shown(const platform::Label& label) { return Widget<QLabel>(label)->text(); }
};

TEST_F(CaptionsFit, TodayPageNotesAndNoteLine) {
  t.WriteLines("datas/2005/8/5.dat", {Han(20), "09:00 " + Han(8), "--:-- " + Han(22)});
  t.WriteLines("datas/2005/month.qdr", {" 8"});
  adapter.Dispatch([&] { today::MenuMain_Click(t.app); });
  ASSERT_TRUE(Widget(f.Label11[0])->isVisible());
  EXPECT_EQ(Shown(f.Label11[0]), "  " + Han(8));
  ExpectFits(Widget(f.Label11[0]), Shown(f.Label11[0]), "note body of 8 characters");
  ExpectFits(Widget(f.Label11[1]), Shown(f.Label11[1]), "note body of three lines");
  ExpectFits(Widget(f.Label10[0]), "09:00", "note time bar");
  ExpectFits(Widget(f.Label9), Shown(f.Label9), "note line");
  ExpectFits(Widget(f.Label8), "23:59", "clock");
}

TEST_F(CaptionsFit, CalendarCellsHeadingsAndLists) {
  QStringList plans{""};
  for (int i = 0; i < 12; ++i) plans.append("--:-- " + Han(30));
  t.WriteLines("datas/2005/8/25.dat", plans);
  t.WriteLines("datas/2005/month.qdr", {" 8"});
  adapter.ActionOf(f.MenuSetting)->trigger();
  adapter.Dispatch([&] { t.app.BuildMonth(); });
  ASSERT_TRUE(Shown(f.Label5[25]).endsWith("12 項計畫"));
  ExpectFits(Widget(f.Label5[25]), Shown(f.Label5[25]), "day cell");
  ExpectFits(Widget(f.Label2), Shown(f.Label2), "month heading");
  ExpectFits(Widget(f.Label3[0]), Shown(f.Label3[0]), "weekday head");

  auto* list = Widget<QListWidget>(f.List1);
  adapter.Dispatch([&] {
    f.List1.Clear();
    f.List1.AddItem("~   您這天尚未安排任何計畫", -1);
  });
  const QFontMetrics fm(list->font());
  EXPECT_LE(fm.horizontalAdvance(list->item(0)->text()), list->viewport()->width());
  // The short list shows three rows in full.
  EXPECT_LE(3 * list->sizeHintForRow(0), list->viewport()->height()) << "at " << list->font().pointSizeF() << " pt";
}

TEST_F(CaptionsFit, AlarmWindowLines) {
  adapter.Dispatch([&] {
    alarms::RaiseAlarm(t.app, Han(15));
    for (int i = 0; i < 4; ++i) alarms::AddAlarmText(t.app, "Call the bank now");
  });
  shell::Form2& alarm = t.app.GetForm2();
  ExpectFits(Widget(alarm.Label2), Shown(alarm.Label2), "alarm lines");
  ExpectFits(Widget(alarm.Label1), Shown(alarm.Label1), "alarm title");
  ExpectFits(Widget(alarm.Label3), "x", "close box");
}

}  // namespace
