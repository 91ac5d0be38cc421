// The windows' fonts: small 宋体 text drawn from the face's own bitmaps, black and with the
// outlines' metrics; other faces and sizes antialiased as before.
#include "runtime/window_font.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <set>

namespace {

struct Case {
  const char* face;
  int points, weight;
  bool bitmaps;
} const kCases[] = {
    {"宋体", 9, 400, true},           // the controls' text, 12 pixels
    {"宋体", 10, 700, true},          // kestrel's status line, 13 pixels
    {"宋体", 18, 400, false},         // 24 pixels: the face has no bitmaps that large
    {"楷体_GB2312", 12, 700, false},  // the command buttons: a face without bitmaps
    {"Arial", 12, 700, false},        // the wait window
};

std::string name(const Case& c) {
  return std::string(c.face) + " " + std::to_string(c.points) + "/" + std::to_string(c.weight);
}

// The grey levels of the pixels that black text on white leaves.
std::set<int> text_greys(const QFont& font) {
  QImage image(200, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(2, 22, QStringLiteral("开始(S) 服务器名："));
  p.end();
  std::set<int> greys;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 255) greys.insert(qGray(image.pixel(x, y)));
  return greys;
}

TEST(WindowFont, SmallSimSunIsDrawnBlackFromItsBitmaps) {
  for (const Case& c : kCases) {
    const QFont f = rt::window_font(QString::fromUtf8(c.face), c.points, c.weight);
    EXPECT_EQ((f.styleStrategy() & QFont::NoAntialias) != 0, c.bitmaps) << name(c);
    // Its own choice, not the application font's, which is drawn from bitmaps.
    EXPECT_TRUE(f.resolveMask() & QFont::StyleStrategyResolved) << name(c);
    const std::set<int> greys = text_greys(f);
    ASSERT_FALSE(greys.empty()) << name(c);
    if (c.bitmaps)
      EXPECT_EQ(greys, std::set<int>{0}) << name(c);
    else
      EXPECT_GT(greys.size(), 2u) << name(c) << ": antialiased";
  }
}

// The windows place their texts by these: the bitmaps change none of them.
TEST(WindowFont, BitmapsKeepTheOutlinesMetrics) {
  for (const Case& c : kCases) {
    QFont drawn = rt::window_font(QString::fromUtf8(c.face), c.points, c.weight);
    QFont outlines = drawn;
    outlines.setStyleStrategy(QFont::PreferAntialias);
    const QFontMetrics a(drawn), b(outlines);
    EXPECT_EQ(a.height(), b.height()) << name(c);
    EXPECT_EQ(a.ascent(), b.ascent()) << name(c);
    EXPECT_EQ(a.lineSpacing(), b.lineSpacing()) << name(c);
    for (const char* text :
         {"开始(S)", "服务器名：", "保留小于指定金额的数据", "SQL Server 2000", "数据库处理完毕!"})
      EXPECT_EQ(a.horizontalAdvance(QString::fromUtf8(text)),
                b.horizontalAdvance(QString::fromUtf8(text)))
          << name(c) << " " << text;
  }
}

}  // namespace
