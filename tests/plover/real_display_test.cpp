// plover and kestrel in real windows on an X display (Xvfb, the xcb platform), read back from
// the display: greyed labels and the drawn buttons' captions must be readable there, not only
// as the offscreen platform paints them. The driver loaded into the program (LD_PRELOAD) takes
// the picture and lists the controls.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <map>
#include <memory>

#include "tests/support/temp_program_folder.h"

namespace {

// An X server of the test's own, on a display number it chooses itself.
class XServer {
 public:
  XServer() {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
      failure_ = "Xvfb is not installed (scripts/setup installs it)";
      return;
    }
    // -displayfd 1: the server picks a free display and writes its number to standard output.
    process_.start(xvfb, {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-dpi", "96",
                          "-nolisten", "tcp", "-noreset"});
    while (display_.isEmpty() && process_.waitForReadyRead(10000))
      if (process_.canReadLine()) display_ = QString::fromLatin1(process_.readLine()).trimmed();
    if (display_.isEmpty())
      failure_ = "Xvfb did not start: " + process_.readAllStandardError().toStdString();
  }
  ~XServer() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
    process_.waitForFinished();
  }
  QString display() const { return QStringLiteral(":") + display_; }
  const std::string& failure() const { return failure_; }

 private:
  QProcess process_;
  QString display_;
  std::string failure_;
};

struct Control {
  QString name, kind, text;
  QRect rect;
  bool enabled;
};

struct Shot {
  QImage picture;
  std::vector<Control> controls;
};

// The grey levels of the text pixels in `r`: neutral pixels clearly darker than the
// background, which is the most common colour there. Coloured lines (the drawn button's blue
// border) are no text.
std::vector<int> text_greys(const QImage& picture, const QRect& r) {
  std::map<QRgb, int> count;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) ++count[picture.pixel(x, y)];
  if (count.empty()) return {};
  const int background =
      qGray(std::ranges::max_element(count, {}, &std::pair<const QRgb, int>::second)->first);
  std::vector<int> greys;
  for (const auto& [rgb, n] : count) {
    const int hi = std::max({qRed(rgb), qGreen(rgb), qBlue(rgb)});
    const int lo = std::min({qRed(rgb), qGreen(rgb), qBlue(rgb)});
    if (hi - lo <= 12 && qGray(rgb) < background - 16) greys.insert(greys.end(), n, qGray(rgb));
  }
  std::ranges::sort(greys);
  return greys;
}

class RealDisplay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { x_ = std::make_unique<XServer>(); }
  static void TearDownTestSuite() { x_.reset(); }

  void SetUp() override {
    if (!x_->failure().empty()) GTEST_SKIP() << "no X server: " << x_->failure();
  }

  // Starts the program in the test's program folder on the X display; the driver plays each
  // of `steps` (driver actions, "" for none), takes the picture of the main window after each
  // and closes it.
  std::vector<Shot> shots(const QString& program, const QString& built, const QStringList& steps) {
    const QString path = dir_.file(program);
    EXPECT_TRUE(QFile::copy(built, path));
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    QStringList script, pictures;
    for (const QString& step : steps) {
      pictures << dir_.file(program + QString::number(pictures.size()) + ".png");
      if (!step.isEmpty()) script << step;
      script << "shot:" + pictures.back();
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x_->display());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("LD_PRELOAD", QStringLiteral(SALON_GUI_DRIVER));
    env.insert("SALON_DRIVER_SCRIPT", (script << "close").join(','));
    env.insert("SALON_DRIVER_LOG", dir_.file(program + ".log"));
    // A sanitized build wants its runtime first among the libraries; the driver comes first.
    env.insert("ASAN_OPTIONS",
               env.value("ASAN_OPTIONS") + QStringLiteral(":verify_asan_link_order=0"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(path, {});
    if (!p.waitForFinished(60000)) p.kill();
    p.waitForFinished();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);

    std::vector<Shot> out;
    for (const QString& picture : pictures) {
      Shot& s = out.emplace_back();
      s.picture = QImage(picture).convertToFormat(QImage::Format_RGB32);
      QFile list(picture + ".txt");
      if (!list.open(QIODevice::ReadOnly)) continue;
      for (const QByteArray& line : list.readAll().split('\n')) {
        const QStringList f = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (f.size() < 5) continue;
        const QStringList r = f[2].split(QLatin1Char(' '));
        s.controls.push_back({f[0], f[1], f[4],
                              QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()),
                              f[3] == QStringLiteral("1")});
      }
    }
    return out;
  }
  Shot shot(const QString& program, const QString& built) {
    return shots(program, built, {""}).front();
  }

  static std::unique_ptr<XServer> x_;
  test::TempProgramFolder dir_;
};

std::unique_ptr<XServer> RealDisplay::x_;

// The greyed labels' strokes in Windows' grey, not thinned to a pale grey by antialiasing: the
// darkest twentieth of their pixels (two pale strokes that cross can make a single dark one).
TEST_F(RealDisplay, GreyedLabelsAreReadable) {
  const Shot s = shot("plover", QStringLiteral(PLOVER_PROGRAM));
  ASSERT_FALSE(s.picture.isNull());
  int labels = 0;
  for (const Control& c : s.controls) {
    if (c.kind != "QLabel" || c.enabled) continue;
    ++labels;
    const std::vector<int> greys = text_greys(s.picture, c.rect);
    ASSERT_GT(greys.size(), 20u) << c.text.toStdString();
    EXPECT_LE(greys[greys.size() / 20], 128) << c.text.toStdString();
    EXPECT_GE(greys.front(), 96) << c.text.toStdString() << ": greyed, not black";
  }
  EXPECT_EQ(labels, 10);
}

// The drawn buttons' 9-point captions black, as the bitmaps of the face draw them.
TEST_F(RealDisplay, DrawnButtonCaptionsAreBlack) {
  struct Case {
    const char* program;
    const char* built;
    int buttons;
  } cases[] = {{"kestrel", KESTREL_PROGRAM, 2}, {"plover", PLOVER_PROGRAM, 5}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.program);
    const Shot s = shot(k.program, QString::fromUtf8(k.built));
    ASSERT_FALSE(s.picture.isNull());
    int buttons = 0;
    for (const Control& c : s.controls) {
      if (c.kind != "uo_xpbutton") continue;
      ++buttons;
      // Inside the rings along the edges.
      const std::vector<int> greys = text_greys(s.picture, c.rect.adjusted(4, 4, -4, -4));
      const std::string where = "button at x " + std::to_string(c.rect.x());
      ASSERT_GT(greys.size(), 20u) << where;
      EXPECT_LE(greys[greys.size() / 2], 40) << where;
    }
    EXPECT_EQ(buttons, k.buttons);
  }
}

// kestrel's date field on the display: the empty mask shows its two separators only; the
// digits typed into the real program, whose window opens with the focus on it, fill the places
// around them, and the separators stay where they stood.
TEST_F(RealDisplay, KestrelsDateMaskTakesTheDigitsTyped) {
  const std::vector<Shot> s =
      shots("kestrel", QStringLiteral(KESTREL_PROGRAM), {"", "type:20200101"});
  ASSERT_EQ(s.size(), 2u);
  QRect field[2];
  for (int i = 0; i < 2; ++i) {
    ASSERT_FALSE(s[i].picture.isNull()) << i;
    // The two edits are em_1 and em_2, which keeps its "100.00".
    const auto em_1 = std::ranges::find_if(s[i].controls, [](const Control& c) {
      return c.kind == "QLineEdit" && c.text != "100.00";
    });
    ASSERT_NE(em_1, s[i].controls.end()) << i;
    EXPECT_EQ(em_1->text, i == 0 ? QString("    /  /  ") : QString("2020/01/01"));
    field[i] = em_1->rect.adjusted(2, 2, -2, -2);
  }
  ASSERT_EQ(field[0], field[1]);
  // The text pixels, clearly darker than the field's white. A separator of the empty mask
  // stands within two pixels of where it stands among the digits (a blank is about a digit
  // wide). The caret of the empty field, at its first place, is left out.
  const auto dark = [&](int i, int x, int y) { return qGray(s[i].picture.pixel(x, y)) < 160; };
  int separators = 0, kept = 0, typed = 0;
  for (int y = field[0].top(); y <= field[0].bottom(); ++y)
    for (int x = field[0].left(); x <= field[0].right(); ++x) {
      typed += dark(1, x, y);
      if (x < field[0].left() + 4 || !dark(0, x, y)) continue;
      ++separators;
      bool near = false;
      for (int dx = -2; dx <= 2; ++dx) near = near || dark(1, x + dx, y);
      kept += near;
    }
  EXPECT_GT(separators, 6) << "the separators are drawn";
  EXPECT_EQ(kept, separators) << "at the places where they stand among the digits";
  EXPECT_GT(typed, 4 * separators) << "and the digits beside them";
}

}  // namespace
