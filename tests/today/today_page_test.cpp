#include "today/today_page.h"

#include "test_app.h"

#include <QFile>

#include <gtest/gtest.h>

#include <optional>

using testsupport::TestApp;

namespace {

const QString kToday = "datas/2005/8/5.dat";  // the fake clock's Friday, 5 August 2005

QStringList Plans(int count) {
  QStringList lines{"note"};
  for (int i = 1; i <= count; ++i) lines << QStringLiteral("10:%1 plan %2").arg(i, 2, 10, QChar('0')).arg(i);
  return lines;
}

QStringList Marked(QStringList lines, std::initializer_list<int> marked) {
  for (int L : marked) lines[L] = "x" + lines[L];
  return lines;
}

struct WrapCase {
  int length;
  QString caption;
};

class NoteWrap : public testing::TestWithParam<WrapCase> {};

TEST_P(NoteWrap, CutsIntoLinesOfSevenWithTheLastTakingUpToEight) {
  const QString text = QString("一二三四五六七八九十壹貳參肆伍陸").left(GetParam().length);
  EXPECT_EQ(today::WrapNoteText(text), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, NoteWrap,
    testing::Values(WrapCase{0, "  "}, WrapCase{8, "  一二三四五六七八"},
                    WrapCase{9, "  一二三四五六七\r\n   八九"},
                    WrapCase{15, "  一二三四五六七\r\n   八九十壹貳參肆伍"},
                    WrapCase{16, "  一二三四五六七\r\n   八九十壹貳參肆\r\n   伍陸"}));

// What Label9 shows after a fill: left as it was (no file), hidden, or a caption.
struct NoteLine {
  enum { Kept, Hidden, Shows } rule;
  QString caption = {};
};

struct FillCase {
  const char* name;
  std::optional<QStringList> file;  // nullopt: no day file
  // The line each note stands for, "" for a note that is cleared and hidden.
  QStringList tags;
  NoteLine label9;
  std::vector<std::pair<int, QString>> bodies = {};
};

QStringList Tags(std::initializer_list<const char*> shown) {
  QStringList tags;
  for (const char* tag : shown) tags << tag;
  while (tags.size() < 15) tags << "";
  return tags;
}

QStringList Tags(int first, int last, const char* note14 = "") {
  QStringList tags;
  for (int L = first; L <= last; ++L) tags << QString::number(L);
  while (tags.size() < 14) tags << "";
  if (tags.size() < 15) tags << note14;
  return tags;
}

// Each case is filled twice: onto a page that already shows 15 notes and the
// note line "( old )", and at start-up from the file already on disk.
class PageFill : public testing::TestWithParam<std::tuple<FillCase, bool>> {
 protected:
  const FillCase& Case() const { return std::get<0>(GetParam()); }
  bool fromStartUp() const { return std::get<1>(GetParam()); }
  TestApp t;
  shell::Form1& f = t.app.form1;
};

TEST_P(PageFill, EveryNoteShowsItsPlanOrNothing) {
  if (!fromStartUp()) {
    QStringList shown = Plans(15);
    shown[0] = "old";
    t.WriteLines(kToday, shown);
    ASSERT_TRUE(t.Start());
    ASSERT_EQ(f.Label9.Caption, "( old )");
    QFile::remove(t.Path(kToday));
  }
  if (Case().file) t.WriteLines(kToday, *Case().file);
  if (fromStartUp()) {
    ASSERT_TRUE(t.Start());
  }
  const QString label9Before = f.Label9.Caption;
  const bool label9VisibleBefore = f.Label9.Visible;
  f.MenuSetting.Click();
  f.MenuMain.Click();

  for (int i = 0; i < 15; ++i) {
    SCOPED_TRACE(testing::Message() << "note " << i);
    const QString tag = Case().tags[i];
    EXPECT_EQ(f.Label10[i].Tag, tag);
    EXPECT_EQ(f.Label10[i].Visible, !tag.isEmpty());
    EXPECT_EQ(f.Label11[i].Visible, !tag.isEmpty());
    if (tag.isEmpty()) {
      EXPECT_EQ(f.Label10[i].Caption, "");
      EXPECT_EQ(f.Label11[i].Caption, "");
    } else {
      const QString line = (*Case().file)[tag.toInt()];
      EXPECT_EQ(f.Label10[i].Caption, line.left(5));
      EXPECT_EQ(f.Label11[i].Caption, today::WrapNoteText(line.mid(6)));
    }
  }
  for (const auto& [i, body] : Case().bodies) EXPECT_EQ(f.Label11[i].Caption, body) << "note " << i;

  switch (Case().label9.rule) {
    case NoteLine::Kept:
      EXPECT_EQ(f.Label9.Caption, label9Before);
      EXPECT_EQ(f.Label9.Visible, label9VisibleBefore);
      break;
    case NoteLine::Hidden:
      EXPECT_FALSE(f.Label9.Visible);
      break;
    case NoteLine::Shows:
      EXPECT_TRUE(f.Label9.Visible);
      EXPECT_EQ(f.Label9.Caption, Case().label9.caption);
      break;
  }
  EXPECT_TRUE(f.Frame1.Visible);
  EXPECT_FALSE(f.MenuMain.Enabled);
  EXPECT_TRUE(f.MenuSetting.Enabled);
  EXPECT_EQ(f.Label7.Caption, "2005 年 8 月 5 日 (五)");
}

const NoteLine kNoteShown{NoteLine::Shows, "( note )"};

INSTANTIATE_TEST_SUITE_P(
    Table, PageFill,
    testing::Combine(
        testing::Values(
            FillCase{"NoFile", std::nullopt, Tags({}), {NoteLine::Kept}},
            FillCase{"NoteOnly", QStringList{"元宵節"}, Tags({}), {NoteLine::Shows, "( 元宵節 )"}},
            FillCase{"EmptyFile", QStringList{}, Tags({}), {NoteLine::Hidden}},
            FillCase{"LongNoteEmptyPlans",
                     QStringList{"一二三四五六七八九十一二三四五六七八九十", "08:30 晨跑", "--:--"},
                     Tags({"1", "2"}),
                     {NoteLine::Shows, "( 一二三四五六七八九十一二三四五六 )"},
                     {{0, "  晨跑"}, {1, "  "}}},
            FillCase{"EmptyNoteLine", QStringList{"", "08:30 a"}, Tags({"1"}), {NoteLine::Hidden}},
            // A marked line's note stands for no plan: hidden, its Tag not reused.
            FillCase{"MarkedThirdLine", Marked(Plans(4), {3}), Tags({"1", "2", "", "4"}), kNoteShown},
            FillCase{"Thirteen", Plans(13), Tags(1, 13), kNoteShown},
            FillCase{"Fourteen", Plans(14), Tags(1, 14), kNoteShown},
            FillCase{"Fifteen", Plans(15), Tags(1, 15), kNoteShown},
            FillCase{"Eighteen", Plans(18), Tags(1, 14, "18"), kNoteShown},
            FillCase{"EighteenLastMarked", Marked(Plans(18), {18}), Tags(1, 14, "17"), kNoteShown},
            FillCase{"EighteenFifteenToEighteenMarked", Marked(Plans(18), {15, 16, 17, 18}), Tags(1, 14),
                     kNoteShown},
            FillCase{"EighteenSixteenOnMarked", Marked(Plans(18), {16, 17, 18}), Tags(1, 14, "15"),
                     kNoteShown},
            FillCase{"TextLengths",
                     QStringList{"note", "08:00 一二三四五六七八", "09:00 一二三四五六七八九",
                                 "10:00 一二三四五六七八九十壹貳參肆伍", "11:00 一二三四五六七八九十壹貳參肆伍陸"},
                     Tags({"1", "2", "3", "4"}),
                     kNoteShown,
                     {{0, "  一二三四五六七八"},
                      {1, "  一二三四五六七\r\n   八九"},
                      {2, "  一二三四五六七\r\n   八九十壹貳參肆伍"},
                      {3, "  一二三四五六七\r\n   八九十壹貳參肆\r\n   伍陸"}}}),
        testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "_AtStartUp" : "_OnAShownPage");
    });

TEST(TodayPage, RepeatedFillsChangeNothing) {
  TestApp t;
  t.WriteLines(kToday, {"n", "08:30 一二三四五六七八九十", "09:00 b"});
  ASSERT_TRUE(t.Start());
  shell::Form1& f = t.app.form1;
  const QString caption = f.Label11[0].Caption;
  f.MenuMain.Click();
  f.MenuMain.Click();
  EXPECT_EQ(f.Label11[0].Caption, caption);
  EXPECT_EQ(f.Label10[1].Tag, "2");
  EXPECT_FALSE(f.Label10[2].Visible);
}

}  // namespace
