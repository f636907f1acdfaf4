// The main of every Qt test: one application on the offscreen platform for all of a test's
// cases. Tests of the whole program's look (names, icon, font substitutions, Japanese Qt
// strings) are built with PELO_TEST_PREPARED_APPLICATION and get the application as the
// program prepares it.

#include <gtest/gtest.h>

#include <QApplication>

#ifdef PELO_TEST_PREPARED_APPLICATION
#include "app/QtSetup.h"
#endif

int main(int argc, char** argv) {
  QApplication app(argc, argv);
#ifdef PELO_TEST_PREPARED_APPLICATION
  pelo::PrepareApplication(app);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
