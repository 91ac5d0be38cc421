#include "wren/bmp_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include "runtime/files.h"
#include "tests/support/temp_program_folder.h"

namespace {

using wren::capture::Frame;

// Every pixel different: red = x, green = y, blue = 100 + x + y.
Frame gradient(int w, int h) {
  Frame f{w, h, QByteArray(qsizetype(w) * h * 3, '\0')};
  auto* p = reinterpret_cast<unsigned char*>(f.rgb.data());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x, p += 3) {
      p[0] = static_cast<unsigned char>(x * 10);
      p[1] = static_cast<unsigned char>(y * 20);
      p[2] = static_cast<unsigned char>(100 + x + y);
    }
  return f;
}

quint32 u32(const QByteArray& b, int at) {
  quint32 v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}
quint16 u16(const QByteArray& b, int at) {
  return quint16(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

class BmpWidth : public ::testing::TestWithParam<int> {};

TEST_P(BmpWidth, HeaderRowsAndPaddingReadBackByQt) {
  const int w = GetParam(), h = 3;
  const Frame f = gradient(w, h);
  const QByteArray b = wren::encode_bmp(f);
  const int stride = (w * 3 + 3) / 4 * 4;

  ASSERT_EQ(b.size(), 54 + stride * h);
  EXPECT_EQ(b.left(2), QByteArray("BM"));
  EXPECT_EQ(u32(b, 2), quint32(b.size()));
  EXPECT_EQ(u32(b, 10), 54u);  // pixels right after the two headers
  EXPECT_EQ(u32(b, 14), 40u);
  EXPECT_EQ(u32(b, 18), quint32(w));
  EXPECT_EQ(u32(b, 22), quint32(h));  // positive height: bottom-up
  EXPECT_EQ(u16(b, 26), 1);
  EXPECT_EQ(u16(b, 28), 24);
  EXPECT_EQ(u32(b, 30), 0u);  // uncompressed
  EXPECT_EQ(u32(b, 34), quint32(stride * h));

  // The first stored row is the bottom one, blue first; the padding is zero.
  for (int row = 0; row < h; ++row) {
    const int y = h - 1 - row;
    for (int x = 0; x < w; ++x) {
      const int at = 54 + row * stride + x * 3;
      EXPECT_EQ(static_cast<unsigned char>(b[at]), 100 + x + y);
      EXPECT_EQ(static_cast<unsigned char>(b[at + 1]), y * 20);
      EXPECT_EQ(static_cast<unsigned char>(b[at + 2]), x * 10);
    }
    for (int pad = w * 3; pad < stride; ++pad) EXPECT_EQ(b[54 + row * stride + pad], '\0');
  }

  const QImage back = QImage::fromData(b, "BMP");
  ASSERT_FALSE(back.isNull());
  ASSERT_EQ(back.size(), QSize(w, h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) EXPECT_EQ(back.pixel(x, y), qRgb(x * 10, y * 20, 100 + x + y));
}

INSTANTIATE_TEST_SUITE_P(Widths, BmpWidth, ::testing::Values(1, 2, 3, 4, 5, 7));

TEST(BmpFile, EmptyFrameEncodesToNothing) {
  EXPECT_TRUE(wren::encode_bmp(Frame{}).isEmpty());
  EXPECT_TRUE(wren::encode_bmp(Frame{4, 4, QByteArray(10, '\0')}).isEmpty());  // short pixels
}

TEST(BmpFile, WritesAndReplacesAWholeFile) {
  test::TempProgramFolder folder;
  const QString path = folder.file(QStringLiteral("p.bmp"));
  folder.write(QStringLiteral("p.bmp"), QByteArray(100000, 'x'));
  QString why;
  ASSERT_TRUE(wren::write_bmp_file(path, gradient(5, 2), &why)) << why.toStdString();
  EXPECT_EQ(folder.read(QStringLiteral("p.bmp")), wren::encode_bmp(gradient(5, 2)));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("p.bmp")});
}

TEST(BmpFile, FailuresLeaveTheTargetAsItWas) {
  test::TempProgramFolder folder;
  struct Case {
    const char* name;
    QString path;
  };
  folder.write(QStringLiteral("locked.bmp"), "good picture");
  rt::set_file_attributes(folder.file(QStringLiteral("locked.bmp")), 1);
  QDir().mkpath(folder.file(QStringLiteral("dir.bmp")));
  const Case cases[] = {
      {"missing folder", folder.file(QStringLiteral("nowhere/p.bmp"))},
      {"read-only file", folder.file(QStringLiteral("locked.bmp"))},
      {"folder in the way", folder.file(QStringLiteral("dir.bmp"))},
      // Relative to no folder here, even when the current folder holds one named "D:".
      {"windows drive", QStringLiteral("D:/p.bmp")},
  };
  const QString cwd = QDir::currentPath();
  QDir::setCurrent(folder.path());
  QDir().mkpath(QStringLiteral("D:"));
  for (const Case& c : cases) {
    QString why;
    EXPECT_FALSE(wren::write_bmp_file(c.path, gradient(2, 2), &why)) << c.name;
    EXPECT_FALSE(why.isEmpty()) << c.name;
  }
  EXPECT_EQ(folder.read(QStringLiteral("locked.bmp")), QByteArray("good picture"));
  EXPECT_FALSE(QDir(folder.path()).exists(QStringLiteral("nowhere")));
  // No temporary file is left behind.
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("locked.bmp")});
  EXPECT_TRUE(QDir(folder.file(QStringLiteral("D:"))).isEmpty());
  QDir::setCurrent(cwd);
}

}  // namespace
