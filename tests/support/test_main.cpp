// One main for every test executable: a QApplication on the offscreen platform with the
// programs' palette, then the tests.
#include <gtest/gtest.h>

#include <QApplication>

#include "runtime/program_start.h"
#include "tests/support/test_environment.h"

int main(int argc, char** argv) {
  test::prepare_test_environment();
  QApplication app(argc, argv);
  rt::use_windows_greyed_text();  // the windows look as in the programs
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
