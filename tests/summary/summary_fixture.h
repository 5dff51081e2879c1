#pragma once
// A started program with counters and a history written from a few values,
// and the summary opened from the main window's menu as the user opens it.

#include "shell/app.h"
#include "test_app.h"
#include "platform/files/file_ops.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>

class SummaryTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(t.Start());
    t.app.EndProgram = [this] { ++ended; };
  }
  void TearDown() override { platform::files::ClearFaults(); }

  void WriteCounts(std::int16_t notDone, std::int16_t done) {
    t.WriteBytes("datas/quendar.qdr", platform::files::Int16Bytes(notDone) + platform::files::Int16Bytes(done));
  }
  void WriteHistory(const QStringList& lines) { t.WriteLines("datas/quendar.dat", lines); }
  shell::Form3& OpenSummary() {
    t.app.form1.MenuView.Click();
    EXPECT_TRUE(t.app.Form3Loaded());
    return t.app.GetForm3();
  }

  testsupport::TestApp t;
  shell::Form1& form1 = t.app.form1;
  int ended = 0;
};
