#pragma once

namespace test {

// What a test executable sets before its application object: the offscreen platform unless
// QT_QPA_PLATFORM names another, and a runtime folder for Qt.
void prepare_test_environment();

}  // namespace test
