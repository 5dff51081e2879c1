// Termination signals reach the program as an ordinary event, never inside
// the signal handler.

#include "ui/qt/session_end.h"

#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(SessionEnd, EachTerminationSignalArrivesOnTheEventLoop) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    int calls = 0;
    ui::qt::SessionEnd end(*qGuiApp, [&] { ++calls; });
    std::raise(signal);
    EXPECT_EQ(calls, 0);  // not inside the handler
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 2000));
  }
}

}  // namespace
