// The end of the session through the real event loop, boxes and menus: a
// save or a cancelled log-off is no end, a quit or a termination signal is,
// once; a box or menu open at that moment closes as declined, and a start-up
// that failed ends without touching a file.

#include "shell/tray.h"
#include "test_app.h"
#include "platform/qt/qt_adapter.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/session_end.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QSessionManager>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

TEST(SessionEnd, EachTerminationSignalArrivesOnTheEventLoop) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    int calls = 0;
    platform::qt::SessionEnd end(*qGuiApp, [&] { ++calls; });
    std::raise(signal);
    EXPECT_EQ(calls, 0);  // not inside the handler
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 2000));
  }
}

void Quit() {
  // What the session manager's last word does to the application.
  QEvent quit(QEvent::Quit);
  QCoreApplication::sendEvent(qApp, &quit);
}

struct Ending {
  const char* name;
  std::function<void()> arrive;
};

const Ending kEndings[] = {{"SIGTERM", [] { std::raise(SIGTERM); }},
                           {"SIGINT", [] { std::raise(SIGINT); }},
                           {"SIGHUP", [] { std::raise(SIGHUP); }},
                           {"Quit", Quit}};

// The App wired to the session end as the program wires it.
class SessionEnding : public testing::Test {
 protected:
  SessionEnding() { t.app.EndProgram = [this] { ++ended; }; }

  bool Start() {
    bool started = false;
    adapter.Dispatch([&] { started = t.Start(); });
    return started;
  }
  // Every box and menu of the logic is a real one that nobody answers; the
  // end arrives while it is open. One still open after three seconds is
  // closed by the test and counted as waited for.
  void NobodyAnswers(const std::function<void()>& arrive, bool realMenus) {
    t.platform.onMessage = [this, arrive](const testsupport::ShownMessage& m) {
      Meanwhile(arrive);
      t.platform.answers.push_front(real.MsgBox(m.text, m.buttons, m.title));
    };
    if (realMenus) {
      t.platform.onPopup = [this, arrive](platform::Menu& menu) {
        Meanwhile(arrive);
        real.PopupMenu(menu);
      };
    }
  }
  void Meanwhile(const std::function<void()>& arrive) {
    QTimer::singleShot(50, &timers, arrive);
    QTimer::singleShot(3000, &timers, [this] {
      if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ++waited;
        box->accept();
      }
      if (QWidget* menu = QApplication::activePopupWidget()) {
        ++waited;
        menu->close();
      }
    });
  }

  testsupport::TestApp t;
  platform::qt::QtAdapter adapter{t.app};
  platform::qt::QtPlatform real;
  platform::qt::SessionEnd sessionEnd{*qGuiApp, [this] { adapter.Dispatch([this] { shell::EndSession(t.app); }); }};
  QObject timers;
  int ended = 0;
  int waited = 0;
};

TEST_F(SessionEnding, ASaveOrACancelledLogOffKeepsItRunningAndTheRealEndShutsDownOnce) {
  ASSERT_TRUE(Start());
  auto* manager = qApp->findChild<QSessionManager*>();
  ASSERT_NE(manager, nullptr);
  const QStringList before = t.Tree();
  // A save and a log-off that is cancelled afterwards both ask for the data.
  emit qApp->commitDataRequest(*manager);
  emit qApp->commitDataRequest(*manager);
  QTest::qWait(100);
  EXPECT_EQ(ended, 0);
  EXPECT_EQ(t.Tree(), before);
  EXPECT_TRUE(adapter.WindowOf(t.app.form1)->isVisible());

  Quit();
  EXPECT_EQ(ended, 1);
  EXPECT_TRUE(t.Exists("datas/quendar.qdr"));  // the shutdown ran
  std::raise(SIGTERM);
  Quit();
  QTest::qWait(100);
  EXPECT_EQ(ended, 1);
}

class EndWhileOpen : public SessionEnding, public testing::WithParamInterface<Ending> {
 protected:
  void SetUp() override {
    t.WriteLines("datas/2005/8/5.dat", {"晴", "06:30 晨跑"});
    ASSERT_TRUE(Start());
  }
  void RightClickOnTheNote() { QTest::mouseClick(adapter.WidgetOf(t.app.form1.Label10[0]), Qt::RightButton); }
};

TEST_P(EndWhileOpen, TheVerdictBoxClosesAsNoAndTheBooksCloseAtOnce) {
  NobodyAnswers(GetParam().arrive, false);
  t.platform.menuChoice = &t.app.form1.PlansPop_Done;
  RightClickOnTheNote();
  EXPECT_EQ(waited, 0);
  EXPECT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), testsupport::Cp950Lines({"晴", "06:30 晨跑"}));
  EXPECT_EQ(t.ReadBytes("datas/quendar.qdr"), QByteArray(4, '\0'));
}

TEST_P(EndWhileOpen, TheVerdictMenuClosesWithoutAChoice) {
  NobodyAnswers(GetParam().arrive, true);
  RightClickOnTheNote();
  EXPECT_EQ(waited, 0);
  EXPECT_TRUE(t.platform.messages.empty());
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(t.ReadBytes("datas/2005/8/5.dat"), testsupport::Cp950Lines({"晴", "06:30 晨跑"}));
}

INSTANTIATE_TEST_SUITE_P(Endings, EndWhileOpen, testing::ValuesIn(kEndings),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailedStartCase {
  const char* name;
  std::function<void(testsupport::TestApp&)> prepare;
};

class FailedStart : public SessionEnding, public testing::WithParamInterface<FailedStartCase> {};

// The other copy's settings, or the user's files, are not this copy's to write.
TEST_P(FailedStart, EndsWithoutTouchingAFileWhenTheSessionEndsDuringItsBox) {
  GetParam().prepare(t);
  const QStringList before = t.Tree();
  const QByteArray settings = t.ReadBytes("Quendar.ini");
  NobodyAnswers([] { std::raise(SIGTERM); }, false);
  EXPECT_FALSE(Start());
  EXPECT_EQ(waited, 0);
  EXPECT_EQ(t.platform.messages.size(), 1u);
  QTest::qWait(100);
  EXPECT_EQ(ended, 0);
  EXPECT_EQ(t.Tree(), before);
  EXPECT_EQ(t.ReadBytes("Quendar.ini"), settings);
}

INSTANTIATE_TEST_SUITE_P(
    StartUpBoxes, FailedStart,
    testing::Values(FailedStartCase{"AnotherCopy", [](testsupport::TestApp& t) { t.platform.anotherCopy = true; }},
                    FailedStartCase{"NoSettings", [](testsupport::TestApp& t) { QFile::remove(t.Path("Quendar.ini")); }},
                    FailedStartCase{"WrongHeader",
                                    [](testsupport::TestApp& t) { t.WriteBytes("Quendar.ini", QByteArray(142, 'x')); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
