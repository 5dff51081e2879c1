// The day editor on a started App (today 5 August 2005, a Friday: August 2005
// starts on a Monday, so day d sits in cell d).

#include "shell/app.h"
#include "store/day_editor.h"
#include "test_app.h"
#include "platform/files/codepage.h"
#include "platform/files/file_ops.h"

#include <QDir>

#include <gtest/gtest.h>

using testsupport::Cp950Lines;
using testsupport::TestApp;

namespace {

class Editor : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(t.Start()); }

  shell::Form1& f() { return t.app.form1; }
  // A click then a double click on the cell, as the mouse delivers them.
  void Open(int cell) {
    f().Label5[cell].Click();
    f().Label5[cell].DblClick();
  }
  void Add(const QString& text, const QString& hour = {}, const QString& minute = {}) {
    f().Text4[0].SetText(hour);
    f().Text4[1].SetText(minute);
    f().Text1.SetText(text);
    f().Command2.Click();
  }
  void Del(int item) {
    f().List2.ListIndex = item;
    f().Command1.Click();
  }
  QStringList DataTree() const {
    QStringList tree = t.Tree();
    tree.removeAll("Quendar.ini");
    return tree;
  }

  TestApp t;
};

struct TimeCase {
  const char* hour;
  const char* minute;
  const char* stored;
};

class AddTime : public Editor, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(AddTime, StoresTheTimeOnlyWhenBothFieldsHoldTwoCharacters) {
  Open(28);
  Add("買菜", GetParam().hour, GetParam().minute);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/28.dat"), Cp950Lines({"", QString(GetParam().stored) + " 買菜"}));
  EXPECT_EQ(f().Text4[0].Text(), "");
  EXPECT_EQ(f().Text4[1].Text(), "");
  EXPECT_EQ(f().Text1.Text(), "");
}

INSTANTIATE_TEST_SUITE_P(Fields, AddTime,
                         ::testing::Values(TimeCase{"09", "30", "09:30"}, TimeCase{"07", "05", "07:05"},
                                           TimeCase{"7", "30", "--:--"}, TimeCase{"09", "", "--:--"},
                                           TimeCase{"", "", "--:--"}));

TEST_F(Editor, FirstAddOfAYearCreatesFoldersIndexAndDayFileAndShowsThePlan) {
  Open(28);
  Add("買菜");
  EXPECT_EQ(DataTree(), QStringList({"datas", "datas/2005", "datas/2005/8", "datas/2005/8/28.dat",
                                     "datas/2005/month.qdr"}));
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), QByteArray(" 8\r\n"));
  EXPECT_EQ(f().List2.List, QStringList{"1  買菜"});
  EXPECT_EQ(f().Label5[28].Caption, "28‧\r\n  1 項計畫");
  EXPECT_EQ(f().Text2.Text(), "");  // the rebuild took the editor's header away
  EXPECT_TRUE(f().List2.Visible);
}

TEST_F(Editor, AnEmptyPlanTextOnlyClearsTheAlarmFields) {
  Open(28);
  Add("", "09", "30");
  EXPECT_EQ(f().Text4[0].Text(), "");
  EXPECT_EQ(f().Text4[1].Text(), "");
  EXPECT_EQ(DataTree(), QStringList{"datas"});
  EXPECT_NE(f().Text2.Text(), "");  // no rebuild
}

TEST_F(Editor, PlansAreNumberedInOrderAndRenumberedAfterADelete) {
  Open(12);
  Add("a");
  Add("b", "10", "00");
  Add("c");
  EXPECT_EQ(f().List2.List, QStringList({"1  a", "2  b", "3  c"}));
  Del(1);
  EXPECT_EQ(f().List2.List, QStringList({"1  a", "2  c"}));
  EXPECT_EQ(t.ReadBytes("datas/2005/8/12.dat"), Cp950Lines({"", "--:-- a", "--:-- c"}));
  EXPECT_EQ(f().Label5[12].Caption, "12‧\r\n  2 項計畫");
}

TEST_F(Editor, MonthsComeAndGoInTheIndexInOrderOfCreation) {
  Open(3);
  Add("a");
  f().Label4[1].Click();
  f().Label4[1].Click();  // October 2005 starts on a Saturday: day 1 is cell 6
  Open(6);
  Add("b");
  f().Label4[0].Click();  // September starts on a Thursday: day 1 is cell 4
  Open(4);
  Add("c");
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), QByteArray(" 8\r\n 10\r\n 9\r\n"));

  Del(0);
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), QByteArray(" 8\r\n 10\r\n"));
  EXPECT_FALSE(t.Exists("datas/2005/9"));
  f().Label4[1].Click();
  Open(6);
  Del(0);
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), QByteArray(" 8\r\n"));
  f().Label4[0].Click();
  f().Label4[0].Click();
  Open(3);
  Del(0);
  EXPECT_EQ(DataTree(), QStringList{"datas"});
  EXPECT_TRUE(t.platform.messages.empty());
}

TEST_F(Editor, IndexLinesAreMatchedByValue) {
  t.WriteBytes("datas/2005/month.qdr", "08\r\n 3\r\n 8\r\n");
  t.WriteLines("datas/2005/8/20.dat", {"", "--:-- a"});
  Open(20);
  Del(0);
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), QByteArray(" 3\r\n"));
  EXPECT_FALSE(t.Exists("datas/2005/8"));
}

TEST_F(Editor, AMonthFolderThatCannotGoStaysWithItsIndexLineWithoutAMessage) {
  t.WriteLines("datas/2005/8/20.dat", {"", "--:-- a"});
  t.WriteBytes("datas/2005/8/.foreign", "x");
  t.WriteBytes("datas/2005/month.qdr", " 8\r\n");
  Open(20);
  Del(0);
  EXPECT_FALSE(t.Exists("datas/2005/8/20.dat"));
  EXPECT_TRUE(t.Exists("datas/2005/8/.foreign"));
  EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), QByteArray(" 8\r\n"));
  EXPECT_TRUE(t.platform.messages.empty());
}

TEST_F(Editor, ANoteOnlyDayKeepsItsFileAfterItsLastPlanGoes) {
  t.WriteLines("datas/2005/8/20.dat", {"中秋", "--:-- a"});
  t.WriteBytes("datas/2005/month.qdr", " 8\r\n");
  Open(20);
  Del(0);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/20.dat"), Cp950Lines({"中秋"}));
  EXPECT_TRUE(f().List2.List.isEmpty());
  EXPECT_EQ(f().Label5[20].Caption, "20‧中秋");
}

// Today's file with a plan already judged: the list skips it, Del must still
// remove the plan the selected item shows.
TEST_F(Editor, DelRemovesTheShownPlanOnADayWithMarkedLines) {
  t.WriteLines("datas/2005/8/5.dat", {"", "x08:00 done", "09:00 a", "10:00 b"});
  t.WriteBytes("datas/2005/month.qdr", " 8\r\n");
  Open(5);
  ASSERT_EQ(f().List2.List, QStringList({"1  a", "2  b"}));
  Del(1);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), Cp950Lines({"", "x08:00 done", "09:00 a"}));
  // The refilled list shows every line, and Del keeps following its items.
  EXPECT_EQ(f().List2.List, QStringList({"1   done", "2  a"}));
  Del(1);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), Cp950Lines({"", "x08:00 done"}));
}

TEST_F(Editor, DelWithoutASelectionOrOnAChangedFileDeletesNothing) {
  t.WriteLines("datas/2005/8/20.dat", {"", "--:-- a", "--:-- b"});
  const QByteArray before = t.ReadBytes("datas/2005/8/20.dat");
  Open(20);
  f().Command1.Click();  // nothing selected
  EXPECT_EQ(t.ReadBytes("datas/2005/8/20.dat"), before);
  // Someone else rewrote the day meanwhile: the item no longer matches its line.
  t.WriteLines("datas/2005/8/20.dat", {"", "--:-- b"});
  Del(0);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/20.dat"), Cp950Lines({"", "--:-- b"}));
}

TEST_F(Editor, KeptLinesSurviveEditAndDelByteForByte) {
  // Bytes that are no valid code page 950 text, and a bare LF line end.
  const QByteArray odd = QByteArray("09:00 \x81\x20\xff", 9);
  t.WriteBytes("datas/2005/8/20.dat", QByteArray("\x80\x80\r\n") + odd + "\n--:-- b\r\n--:-- c");
  Open(20);
  f().Text3.SetText("新");
  f().Command3.Click();
  EXPECT_EQ(t.ReadBytes("datas/2005/8/20.dat"),
            platform::files::Encode("新") + "\r\n" + odd + "\r\n--:-- b\r\n--:-- c\r\n");
  Del(1);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/20.dat"), platform::files::Encode("新") + "\r\n" + odd + "\r\n--:-- c\r\n");
}

TEST_F(Editor, AnUnchangedNoteKeepsItsBytes) {
  const QByteArray note("\x81\x30\xa4\xa4", 4);  // an undecodable pair, then 中
  t.WriteBytes("datas/2005/8/20.dat", note + "\r\n--:-- a\r\n");
  Open(20);
  f().Command3.Click();
  EXPECT_EQ(t.ReadBytes("datas/2005/8/20.dat"), note + "\r\n--:-- a\r\n");
}

struct EditCase {
  const char* name;
  QStringList before;  // day file of the 20th, none when empty
  QString note;
  QStringList after;   // day file afterwards, none when empty
};

class Edit : public Editor, public ::testing::WithParamInterface<EditCase> {};

TEST_P(Edit, SavesTheNoteAndPrunesAnEmptyDay) {
  const EditCase& c = GetParam();
  if (!c.before.isEmpty()) {
    t.WriteLines("datas/2005/8/20.dat", c.before);
    t.WriteBytes("datas/2005/month.qdr", " 8\r\n");
  }
  Open(20);
  f().Text3.SetText(c.note);
  f().Command3.Click();
  if (c.after.isEmpty()) {
    EXPECT_EQ(DataTree(), QStringList{"datas"});
  } else {
    EXPECT_EQ(t.ReadBytes("datas/2005/8/20.dat"), Cp950Lines(c.after));
    EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), QByteArray(" 8\r\n"));
  }
  EXPECT_TRUE(t.platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Days, Edit,
    ::testing::Values(EditCase{"NoFileEmptyNote", {}, "", {}},
                      EditCase{"NoFileNote", {}, "元宵節快樂", {"元宵節快樂"}},
                      EditCase{"NoteOnlyCleared", {"舊"}, "", {}},
                      EditCase{"PlansNoteCleared", {"舊", "--:-- a"}, "", {"", "--:-- a"}},
                      EditCase{"PlansNoteChanged", {"", "08:00 a", "x09:00 b"}, "新", {"新", "08:00 a", "x09:00 b"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A file whose last line lost its line end, or a day file of zero bytes:
// the next Add still leaves one record per line, the note line first.
struct AppendCase {
  const char* name;
  QString file;         // the file written before, beside the month's other files
  QByteArray before;
  QByteArray after;
  QStringList items;    // List2 afterwards
};

class Append : public Editor, public ::testing::WithParamInterface<AppendCase> {};

TEST_P(Append, NeverJoinsTwoRecords) {
  const AppendCase& c = GetParam();
  t.WriteBytes("datas/2005/12/1.dat", "\r\n--:-- December\r\n");
  t.WriteBytes("datas/2005/month.qdr", " 12\r\n");
  t.WriteBytes(c.file, c.before);
  Open(20);
  Add("gym", "18", "00");
  EXPECT_EQ(t.ReadBytes(c.file), c.after);
  EXPECT_EQ(f().List2.List, c.items);
  EXPECT_TRUE(t.platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, Append,
    ::testing::Values(
        AppendCase{"PlanAfterAPlanWithoutItsLineEnd", "datas/2005/8/20.dat", "\r\n07:00 wake up",
                   "\r\n07:00 wake up\r\n18:00 gym\r\n", {"1  wake up", "2  gym"}},
        AppendCase{"ZeroByteDayFileGetsItsNoteLineFirst", "datas/2005/8/20.dat", "", "\r\n18:00 gym\r\n", {"1  gym"}},
        AppendCase{"MonthAfterAMonthWithoutItsLineEnd", "datas/2005/month.qdr", " 12", " 12\r\n 8\r\n", {"1  gym"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Editor, PlanAndNoteBoxesKeepOnlyWhatTheFileCanHold) {
  int key = '\'';
  f().Text1.KeyPress(key);
  EXPECT_EQ(key, 0);
  key = '"';
  f().Text1.KeyPress(key);
  EXPECT_EQ(key, 0);
  key = 'a';
  f().Text1.KeyPress(key);
  EXPECT_EQ(key, 'a');

  // A pasted emoji, a character the code page lacks, and a line break.
  f().Text1.SetText(QString::fromUtf8("買😀菜\r\n₩x"));
  EXPECT_EQ(f().Text1.Text(), "買菜x");
  f().Text3.SetText(QString::fromUtf8("節\n慶😀"));
  EXPECT_EQ(f().Text3.Text(), "節慶");
}

// Every write step of an operation is made to fail in turn. A failure is
// reported, and the plans on disk are as they were; the last round succeeds.
class Failing : public ::testing::Test {
 protected:
  void TearDown() override { platform::files::ClearFaults(); }
};

// What the editor shows: the edited day's plans and the month's cells.
std::string Shown(const shell::Form1& f) {
  QStringList shown = f.List2.List;
  for (int i = 0; i < shell::kCellCount; ++i) shown << f.Label5[i].Caption;
  return shown.join(" | ").toStdString();
}

// The page as a fresh read of the disk shows it.
std::string ShownFromDisk(TestApp& t) {
  t.app.BuildMonth();
  store::RefillList2(t.app);
  return Shown(t.app.form1);
}

// Returns the round that succeeded: one more than the steps that were failed.
// After every round, failed or not, the page shows what is on disk.
template <typename Setup, typename Act, typename Check>
int EachStepFails(Setup setup, Act act, Check check) {
  int n = 1;
  for (;; ++n) {
    if (n == 30) {
      ADD_FAILURE() << "the operation never succeeded";
      return n;
    }
    TestApp t;
    t.Start();
    setup(t);
    t.app.BuildMonth();  // the setup wrote files behind the page's back
    const QStringList tree = t.Tree();
    t.platform.messages.clear();
    platform::files::FailOperation(n);
    act(t);
    platform::files::ClearFaults();
    for (const QString& entry : t.Tree()) EXPECT_FALSE(entry.contains('~')) << "step " << n << ": " << entry.toStdString();
    const std::string shown = Shown(t.app.form1);
    EXPECT_EQ(shown, ShownFromDisk(t)) << "step " << n;
    if (check(t, tree, n)) break;
  }
  return n;
}

void OpenDay(TestApp& t, int cell) {
  t.app.form1.Label5[cell].Click();
  t.app.form1.Label5[cell].DblClick();
}

TEST_F(Failing, AddOfTheFirstPlanOfAYear) {
  const auto setup = [](TestApp& t) {
    t.WriteLines("datas/2004/12/9.dat", {"", "--:-- old"});
    t.app.form1.Label4[1].Click();  // September 2005: no year folder yet
    OpenDay(t, 4);
    t.app.form1.Text1.SetText("new");
  };
  QStringList failed;  // what each failing step was writing
  const auto check = [&failed](TestApp& t, const QStringList& before, int n) {
    EXPECT_EQ(t.ReadBytes("datas/2004/12/9.dat"), Cp950Lines({"", "--:-- old"})) << n;
    if (!t.platform.messages.empty()) {
      EXPECT_EQ(t.platform.messages[0].title, "Quendar 錯誤訊息報告");
      failed << QDir(t.Path("")).relativeFilePath(t.platform.messages[0].text.section('\n', 0, 0));
      EXPECT_EQ(t.Tree(), before) << "step " << n;  // everything made was taken back
      return false;
    }
    EXPECT_EQ(t.ReadBytes("datas/2005/9/1.dat"), Cp950Lines({"", "--:-- new"}));
    EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), QByteArray(" 9\r\n"));
    return true;
  };
  // Two folders, the index line, the day file (copy and rename), the plan.
  EXPECT_EQ(EachStepFails(setup, [](TestApp& t) { t.app.form1.Command2.Click(); }, check), 7);
  // The month is in the index before its folder holds a day file.
  EXPECT_EQ(failed, QStringList({"datas/2005", "datas/2005/9", "datas/2005/month.qdr", "datas/2005/9/1.dat.~new",
                                 "datas/2005/9/1.dat", "datas/2005/9/1.dat"}));
}

TEST_F(Failing, EditOfANote) {
  const auto setup = [](TestApp& t) {
    t.WriteLines("datas/2005/8/9.dat", {"old", "--:-- a", "--:-- b"});
    t.WriteBytes("datas/2005/month.qdr", " 8\r\n");
    OpenDay(t, 9);
    t.app.form1.Text3.SetText("new");
  };
  const auto check = [](TestApp& t, const QStringList&, int n) {
    const QByteArray bytes = t.ReadBytes("datas/2005/8/9.dat");
    if (!t.platform.messages.empty()) {
      EXPECT_EQ(bytes, Cp950Lines({"old", "--:-- a", "--:-- b"})) << n;
      return false;
    }
    EXPECT_EQ(bytes, Cp950Lines({"new", "--:-- a", "--:-- b"}));
    return true;
  };
  EXPECT_EQ(EachStepFails(setup, [](TestApp& t) { t.app.form1.Command3.Click(); }, check), 3);
}

// Edit with an empty note on a day without a file makes the whole tree and
// takes it away again; a failure anywhere must not leave a part of it behind
// except where a removal itself failed, and the next Edit cleans that up.
TEST_F(Failing, EditThatCreatesAndRemovesADay) {
  const auto setup = [](TestApp& t) { OpenDay(t, 9); };
  const auto check = [](TestApp& t, const QStringList& before, int n) {
    if (!t.platform.messages.empty() || t.Tree() != before) {
      t.platform.messages.clear();
      t.app.form1.Command3.Click();
      EXPECT_EQ(t.Tree(), before) << "step " << n;
      EXPECT_TRUE(t.platform.messages.empty());
      return false;
    }
    return true;
  };
  EXPECT_GE(EachStepFails(setup, [](TestApp& t) { t.app.form1.Command3.Click(); }, check), 11);
}

TEST_F(Failing, DelOfTheLastPlanOfAYear) {
  const auto setup = [](TestApp& t) {
    t.WriteLines("datas/2005/8/9.dat", {"", "--:-- a", "--:-- b"});
    t.WriteBytes("datas/2005/month.qdr", " 8\r\n");
    OpenDay(t, 9);
    t.app.form1.List2.ListIndex = 0;
    t.app.form1.Command1.Click();
    t.app.form1.List2.ListIndex = 0;
  };
  const auto check = [](TestApp& t, const QStringList&, int n) {
    if (t.Exists("datas/2005/8/9.dat")) {
      // Failed before the replace: the plan is still there; after it: gone.
      const QByteArray bytes = t.ReadBytes("datas/2005/8/9.dat");
      EXPECT_TRUE(bytes == Cp950Lines({"", "--:-- b"}) || bytes == Cp950Lines({""})) << n;
    }
    if (t.Exists("datas/2005/8")) {
      EXPECT_EQ(t.ReadBytes("datas/2005/month.qdr"), QByteArray(" 8\r\n")) << n;
    }
    return t.platform.messages.empty() && !t.Exists("datas/2005");
  };
  // The copy and rename, the day file, the month folder, the index, the year folder.
  EXPECT_EQ(EachStepFails(setup, [](TestApp& t) { t.app.form1.Command1.Click(); }, check), 7);
}

}  // namespace
