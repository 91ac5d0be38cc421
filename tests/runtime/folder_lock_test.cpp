#include "runtime/folder_lock.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/support/folder_holder.h"

namespace {

TEST(FolderLock, OneHolderAtATimeAndFreeOnceTheHolderDies) {
  QTemporaryDir d;
  {
    const rt::FolderLock mine(d.path());
    EXPECT_FALSE(mine.busy());
    EXPECT_TRUE(rt::FolderLock(d.path()).busy()) << "a second holder is refused";
  }
  EXPECT_FALSE(rt::FolderLock(d.path()).busy()) << "released with its object";

  test::FolderHolder other(d.path());
  ASSERT_TRUE(other.locked());
  EXPECT_TRUE(rt::FolderLock(d.path()).busy());
  other.release();  // killed, as by a crash
  EXPECT_FALSE(rt::FolderLock(d.path()).busy());
}

}  // namespace
