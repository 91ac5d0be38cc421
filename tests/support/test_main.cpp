// One main for every test executable: a QApplication on the offscreen platform, then the tests.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/test_environment.h"

int main(int argc, char** argv) {
  test::prepare_test_environment();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
