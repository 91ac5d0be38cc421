#include "wren/capture/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>

#include "jpeg_edit.h"
#include "pattern.h"

namespace wren::capture {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 640, kHeight = 480;

// A JPEG of whole blocks of one colour loses only rounding.
int deviation(const Bytes& rgb, int width, int height) {
  const Bytes want = emulated_v4l2::pattern_rgb(width, height);
  int worst = 0;
  for (std::size_t i = 0; i < want.size(); ++i)
    worst = std::max(worst, std::abs(int(rgb[i]) - int(want[i])));
  return worst;
}

Bytes cut_with_end_marker(Bytes jpeg, std::size_t n) {
  jpeg.resize(n);
  jpeg.push_back(0xFF);
  jpeg.push_back(0xD9);
  return jpeg;
}

using emulated_v4l2::JpegMaking;

Bytes made(const JpegMaking& making) {
  return emulated_v4l2::pattern_jpeg(kWidth, kHeight, making);
}

struct DecodeCase {
  const char* name;
  std::function<Bytes(const Bytes& good)> frame;
  std::optional<FrameFault> fault;  // none: damaged or incomplete
};

std::vector<DecodeCase> cases() {
  using F = FrameFault;
  return {
      {"whole", [](const Bytes& g) { return g; }, F::None},
      {"non-zero bytes after the end",
       [](Bytes g) {
         g.insert(g.end(), 256, 0xA5);
         return g;
       },
       F::None},
      {"zeros after the end",
       [](Bytes g) {
         g.insert(g.end(), 4096, 0);
         return g;
       },
       F::None},
      {"without its Huffman tables",
       [](const Bytes& g) { return emulated_v4l2::without_segments(g, 0xC4); }, F::None},
      // Some cameras pad their data before a marker; libjpeg skips the padding.
      {"padded before its restart and end markers",
       [](const Bytes&) {
         return emulated_v4l2::padded_before_markers(made({.restarts = true}), 3);
       },
       F::None},
      {"padded before its end marker",
       [](const Bytes& g) { return emulated_v4l2::padded_before_markers(g, 16); }, F::None},
      {"padded, with a bad code in its data",
       [](const Bytes&) {
         Bytes b = emulated_v4l2::padded_before_markers(made({.restarts = true}), 3);
         for (std::size_t i = b.size() / 2; i < b.size() / 2 + 64; i += 2) {
           b[i] = 0xFF;
           b[i + 1] = 0x00;
         }
         return b;
       },
       std::nullopt},
      {"padded, cut at half with an end marker",
       [](const Bytes&) {
         const Bytes b = emulated_v4l2::padded_before_markers(made({.restarts = true}), 3);
         return cut_with_end_marker(b, b.size() / 2);
       },
       F::JpegIncomplete},
      // Standard tables in place of the missing ones would give a picture, every pixel wrong.
      {"without its quantization tables",
       [](const Bytes& g) { return emulated_v4l2::without_segments(g, 0xDB); }, F::JpegDamaged},
      {"without its last byte", [](const Bytes& g) { return Bytes(g.begin(), g.end() - 1); },
       F::JpegIncomplete},
      {"without its end marker", [](const Bytes& g) { return Bytes(g.begin(), g.end() - 2); },
       F::JpegIncomplete},
      {"cut in half", [](const Bytes& g) { return Bytes(g.begin(), g.begin() + g.size() / 2); },
       F::JpegIncomplete},
      {"cut at 1000 with an end marker",
       [](const Bytes& g) { return cut_with_end_marker(g, 1000); }, F::JpegIncomplete},
      {"cut at half with an end marker",
       [](const Bytes& g) { return cut_with_end_marker(g, g.size() / 2); }, F::JpegIncomplete},
      {"cut 16 bytes before the end with an end marker",
       [](const Bytes& g) { return cut_with_end_marker(g, g.size() - 18); }, F::JpegIncomplete},
      {"a smaller picture under this size's header",
       [](const Bytes&) {
         Bytes small = emulated_v4l2::pattern_jpeg(kWidth / 2, kHeight / 2);
         emulated_v4l2::set_jpeg_header_size(small, kWidth, kHeight);
         return small;
       },
       F::JpegIncomplete},
      {"a picture of another size",
       [](const Bytes&) { return emulated_v4l2::pattern_jpeg(kWidth / 2, kHeight / 2); },
       F::JpegSize},
      {"only its start marker",
       [](const Bytes&) {
         return Bytes{0xFF, 0xD8};
       },
       F::JpegIncomplete},
      // libjpeg looks for the next marker until the data runs out.
      {"junk after its start marker",
       [](const Bytes&) {
         Bytes b{0xFF, 0xD8};
         b.insert(b.end(), 5000, 0x3C);
         return b;
       },
       F::JpegIncomplete},
      // Stuffed FF bytes: a run of one bits that is no Huffman code. Where the decoder notices
      // depends on how it resynchronises: at once, or when the data runs out.
      {"a bad code in its data",
       [](Bytes g) {
         for (std::size_t i = g.size() / 3; i < g.size() / 3 + 64; i += 2) {
           g[i] = 0xFF;
           g[i + 1] = 0x00;
         }
         return g;
       },
       std::nullopt},
  };
}

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class JpegDecode : public ::testing::TestWithParam<DecodeCase> {
 protected:
  static const Bytes& good() {
    static const Bytes jpeg = emulated_v4l2::pattern_jpeg(kWidth, kHeight);
    return jpeg;
  }
};

TEST_P(JpegDecode, WholeOnlyWhenItDecodesWithoutDamageAtTheStreamSize) {
  const DecodeCase& c = GetParam();
  const Bytes frame = c.frame(good());
  Bytes rgb(std::size_t(kWidth) * kHeight * 3);
  JpegDecoder decoder;
  QString why;
  // Twice: a failure leaves the decoder ready for the next frame.
  for (int round = 0; round < 2; ++round) {
    const FrameFault fault =
        decoder.decode(frame.data(), frame.size(), kWidth, kHeight, rgb.data(), &why);
    if (c.fault)
      EXPECT_EQ(int(fault), int(*c.fault)) << why.toStdString();
    else
      EXPECT_TRUE(fault == FrameFault::JpegDamaged || fault == FrameFault::JpegIncomplete);
    if (c.fault == FrameFault::None) {
      EXPECT_LE(deviation(rgb, kWidth, kHeight), 2);
    } else {
      EXPECT_FALSE(why.isEmpty());
    }
    const Bytes& whole = good();
    ASSERT_EQ(decoder.decode(whole.data(), whole.size(), kWidth, kHeight, rgb.data(), &why),
              FrameFault::None)
        << why.toStdString();
    EXPECT_LE(deviation(rgb, kWidth, kHeight), 2);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, JpegDecode, ::testing::ValuesIn(cases()), [](const auto& info) {
  std::string n = info.param.name;
  for (char& ch : n)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

// Each frame is decoded by itself: the tables of one are not those of the next. A frame without
// Huffman tables gets the standard ones, also after one that brought optimised ones; one without
// quantization tables gets none, also after frames that brought theirs.
TEST(JpegDecoder, NothingOfOneFrameCarriesOverToTheNext) {
  const Bytes standard = emulated_v4l2::pattern_jpeg(kWidth, kHeight);
  const Bytes optimised = made({.optimised = true});
  const Bytes bare = emulated_v4l2::without_segments(standard, 0xC4);
  const Bytes no_quantization = emulated_v4l2::without_segments(standard, 0xDB);
  const Bytes want = emulated_v4l2::decode_jpeg(standard);
  ASSERT_FALSE(want.empty());
  ASSERT_NE(optimised, standard);
  struct Step {
    const Bytes* frame;
    FrameFault fault;
  } steps[] = {{&optimised, FrameFault::None},
               {&bare, FrameFault::None},
               {&no_quantization, FrameFault::JpegDamaged},
               {&optimised, FrameFault::None},
               {&no_quantization, FrameFault::JpegDamaged},
               {&bare, FrameFault::None}};
  JpegDecoder decoder;
  Bytes rgb(want.size());
  int n = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(n++);
    QString why;
    EXPECT_EQ(
        int(decoder.decode(s.frame->data(), s.frame->size(), kWidth, kHeight, rgb.data(), &why)),
        int(s.fault))
        << why.toStdString();
    if (s.fault == FrameFault::None) {
      EXPECT_EQ(rgb, want);
    }
  }
}

// A frame of several scans cut at a scan boundary, an end marker appended, decodes without a
// word from libjpeg: grey, in false colours, or (before the last refinement of a progressive
// one) close to the whole picture. Cut at any of its boundaries, it is incomplete.
TEST(JpegDecoder, AFrameCutAfterAnyOfItsScansIsIncomplete) {
  struct Kind {
    JpegMaking::Scans scans;
    unsigned count;
  } kinds[] = {{JpegMaking::Scans::Components, 3}, {JpegMaking::Scans::Progressive, 10}};
  JpegDecoder decoder;
  Bytes rgb(std::size_t(kWidth) * kHeight * 3);
  QString why;
  for (const Kind& k : kinds) {
    const Bytes whole = made({.scans = k.scans});
    ASSERT_EQ(emulated_v4l2::cut_after_scans(whole, k.count), whole);  // so many scans
    ASSERT_EQ(decoder.decode(whole.data(), whole.size(), kWidth, kHeight, rgb.data(), &why),
              FrameFault::None)
        << why.toStdString();
    EXPECT_LE(deviation(rgb, kWidth, kHeight), 2);
    for (unsigned kept = 1; kept < k.count; ++kept) {
      SCOPED_TRACE(kept);
      const Bytes cut = emulated_v4l2::cut_after_scans(whole, kept);
      ASSERT_LT(cut.size(), whole.size());
      EXPECT_EQ(decoder.decode(cut.data(), cut.size(), kWidth, kHeight, rgb.data(), &why),
                FrameFault::JpegIncomplete);
    }
  }
}

TEST(JpegDecoder, SaysWhatIsWrong) {
  const Bytes good = emulated_v4l2::pattern_jpeg(kWidth, kHeight);
  Bytes rgb(std::size_t(kWidth) * kHeight * 3);
  JpegDecoder decoder;
  QString why;
  const Bytes cut = cut_with_end_marker(good, 6000);
  decoder.decode(cut.data(), cut.size(), kWidth, kHeight, rgb.data(), &why);
  EXPECT_EQ(why, QStringLiteral("the JPEG data is incomplete (6002 bytes)"));
  const Bytes small = emulated_v4l2::pattern_jpeg(320, 240);
  decoder.decode(small.data(), small.size(), kWidth, kHeight, rgb.data(), &why);
  EXPECT_EQ(why, QStringLiteral("the JPEG is 320 x 240, not 640 x 480"));
}

}  // namespace
}  // namespace wren::capture
