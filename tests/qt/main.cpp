// The widget tests share one QApplication, made before and ended after them.

#include "platform/qt/qt_platform.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The program's fonts, so that texts are measured as users see them.
  platform::qt::PrepareApplication(application);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
