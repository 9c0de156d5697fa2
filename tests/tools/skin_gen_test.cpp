#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "skin/bmp_codec.h"
#include "skin/builtin_skin.h"
#include "skin/draw_number_pieces.h"
#include "skin/glyph_map.h"
#include "skin/skin_files.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace zcd::test {
namespace {

// The pixels of a piece, alpha left out; none when it lies outside the bitmap.
std::optional<std::vector<uint32_t>> PiecePixels(const Bitmap& b, const Rect& r) {
  if (r.x < 0 || r.y < 0 || r.x + r.w > b.width || r.y + r.h > b.height)
    return std::nullopt;
  std::vector<uint32_t> pixels;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x)
      pixels.push_back(b.At(x, y) & 0x00FFFFFF);
  return pixels;
}

bool AnyLit(const std::vector<uint32_t>& pixels) {
  return std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p != 0; });
}

// The generator runs once; every test reads its output.
class SkinGenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<TempDir>();
    ChildProcess child({ZCD_SKIN_GEN_BINARY, dir_->path()}, {}, dir_->File("stderr.txt"));
    status_ = child.Wait(std::chrono::seconds(60));
  }
  static void TearDownTestSuite() { dir_.reset(); }
  void SetUp() override { ASSERT_EQ(status_, std::optional<int>(0)) << dir_->Read("stderr.txt"); }

  static Bitmap Load(SkinFile file) {
    return LoadBmpFile(dir_->File(SkinFileInfoFor(file).name)).value_or(Bitmap());
  }

  static std::unique_ptr<TempDir> dir_;
  static std::optional<int> status_;
};

std::unique_ptr<TempDir> SkinGenTest::dir_;
std::optional<int> SkinGenTest::status_;

// The built-in images' sizes are checked by the skin set's tests.
TEST_F(SkinGenTest, WritesTheCompiledInSkin) {
  for (const SkinFileInfo& info : kSkinFiles) {
    const std::string generated = dir_->Read(info.name);
    const std::span<const uint8_t> builtin = BuiltinSkinFileBytes(info.name);
    EXPECT_TRUE(std::equal(generated.begin(), generated.end(), builtin.begin(), builtin.end(),
                           [](char g, uint8_t b) { return static_cast<uint8_t>(g) == b; }))
        << info.name << " differs from resources/skin; run build/tools/zcd-skin-gen resources/skin";
  }
}

TEST_F(SkinGenTest, EveryCharacterTheLookupDrawsLiesInsideItsBitmapAndHasItsOwnPicture) {
  const Bitmap charset = Load(SkinFile::kCharset);
  const Bitmap numbers = Load(SkinFile::kNumberset);
  for (LayoutMode mode : {LayoutMode::kFull, LayoutMode::kShade}) {
    // Characters sharing a piece (folded capitals) count once.
    std::map<std::vector<uint32_t>, int> seen;
    std::set<std::pair<int, int>> pieces;
    for (int c = 0; c < 256; ++c) {
      const Glyph glyph = LookupGlyph(static_cast<unsigned char>(c), mode);
      if (glyph.source == GlyphSource::kNone || (mode == LayoutMode::kShade && c == 0xC6))
        continue;  // the shade-mode capital AE is known to lie outside
      const bool letter = glyph.source == GlyphSource::kCharset;
      const auto pixels = PiecePixels(letter ? charset : numbers, glyph.piece);
      ASSERT_TRUE(pixels) << c;
      EXPECT_TRUE(AnyLit(*pixels)) << "no picture for " << c;
      if (letter && pieces.emplace(glyph.piece.x, glyph.piece.y).second) {
        const auto [it, fresh] = seen.emplace(*pixels, c);
        EXPECT_TRUE(fresh) << c << " looks like " << it->second;
      }
    }
  }
}

TEST_F(SkinGenTest, DigitsDifferByValueAndBetweenLitAndDim) {
  const Bitmap numbers = Load(SkinFile::kNumberset);
  for (const DigitStrip& strip : {kLargeDigits, kMediumDigits, kTinyDigits}) {
    std::set<std::vector<uint32_t>> lit_shapes;
    for (int digit = 0; digit <= 9; ++digit) {
      const auto lit = PiecePixels(numbers, DigitPiece(strip, digit, true));
      const auto dim = PiecePixels(numbers, DigitPiece(strip, digit, false));
      ASSERT_TRUE(lit && dim) << digit;
      EXPECT_TRUE(AnyLit(*lit) && AnyLit(*dim)) << digit;
      EXPECT_NE(*lit, *dim) << digit;
      lit_shapes.insert(*lit);
    }
    EXPECT_EQ(lit_shapes.size(), 10u);
  }
}

TEST_F(SkinGenTest, SpriteMasksAreTheComplementOfTheirImages) {
  const Bitmap mixer = Load(SkinFile::kMixerset);
  // Knob pointer and volume thumb, each image with its mask below it.
  for (const auto& [image, mask] : {std::pair<Rect, Rect>{{221, 0, 13, 13}, {221, 14, 13, 13}},
                                    std::pair<Rect, Rect>{{221, 28, 5, 9}, {221, 38, 5, 9}}}) {
    const auto image_pixels = PiecePixels(mixer, image);
    const auto mask_pixels = PiecePixels(mixer, mask);
    ASSERT_TRUE(image_pixels && mask_pixels);
    EXPECT_TRUE(AnyLit(*image_pixels));
    for (size_t i = 0; i < image_pixels->size(); ++i)
      EXPECT_EQ((*mask_pixels)[i], (*image_pixels)[i] != 0 ? 0u : 0x00FFFFFFu)
          << image.y << ": " << i;
  }
}

}  // namespace
}  // namespace zcd::test
