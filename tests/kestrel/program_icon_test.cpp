#include "kestrel/program_icon.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "kestrel/w_main.h"
#include "tests/support/temp_program_folder.h"

namespace {

QImage image(const QIcon& icon) { return icon.pixmap(32, 32).toImage(); }

TEST(ProgramIcon, TheWaitWindowShowsItAndTheMainWindowKeepsItsStockIcon) {
  test::TempProgramFolder tmp;
  const QImage network98 = image(kestrel::network98_ico());
  ASSERT_EQ(network98.size(), QSize(32, 32)) << "network98.ico is missing from the resources";
  kestrel::set_program_icon();
  EXPECT_EQ(image(QApplication::windowIcon()), network98);

  kestrel::w_main w;
  const QImage stock = image(w.windowIcon());
  ASSERT_FALSE(stock.isNull());
  EXPECT_NE(stock, network98);
  // The wait window is a child of w_main and would otherwise take w_main's icon.
  w.open_w_wait(QStringLiteral("数据处理中"));
  const w_wait* wait = nullptr;
  for (QObject* o : w.children())  // w_wait has no meta-object of its own for findChild
    if (auto* c = dynamic_cast<const w_wait*>(o)) wait = c;
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(image(wait->windowIcon()), network98);
}

}  // namespace
