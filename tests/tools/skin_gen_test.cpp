#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
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

constexpr uint32_t kRgb = 0x00FFFFFF;

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool InsideBitmap(const Rect& r, const Bitmap& b) {
  return r.x >= 0 && r.y >= 0 && r.x + r.w <= b.width && r.y + r.h <= b.height;
}

std::vector<uint32_t> PiecePixels(const Bitmap& b, const Rect& r) {
  std::vector<uint32_t> pixels;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x)
      pixels.push_back(b.At(x, y) & kRgb);
  return pixels;
}

bool AnyLit(const Bitmap& b, const Rect& r) {
  for (uint32_t p : PiecePixels(b, r))
    if (p != 0)
      return true;
  return false;
}

// The generator runs once; every test reads its output.
class SkinGenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<TempDir>();
    const std::vector<std::string> argv = {ZCD_SKIN_GEN_BINARY, dir_->path()};
    ChildProcess child(argv, {}, dir_->File("stderr.txt"));
    status_ = child.Wait(std::chrono::seconds(60));
  }
  static void TearDownTestSuite() { dir_.reset(); }
  void SetUp() override { ASSERT_EQ(status_, std::optional<int>(0)) << dir_->Read("stderr.txt"); }

  static Bitmap Load(SkinFile file) {
    std::optional<Bitmap> bitmap = LoadBmpFile(dir_->File(SkinFileInfoFor(file).name));
    return bitmap ? *bitmap : Bitmap();
  }

  static std::unique_ptr<TempDir> dir_;
  static std::optional<int> status_;
};

std::unique_ptr<TempDir> SkinGenTest::dir_;
std::optional<int> SkinGenTest::status_;

TEST_F(SkinGenTest, WritesTheCompiledInSkinAtItsBuiltInSizes) {
  for (const SkinFileInfo& info : kSkinFiles) {
    const std::vector<uint8_t> generated = ReadBytes(dir_->File(info.name));
    const std::span<const uint8_t> builtin = BuiltinSkinFileBytes(info.name);
    EXPECT_TRUE(std::equal(generated.begin(), generated.end(), builtin.begin(), builtin.end()))
        << info.name << " differs from resources/skin; run build/tools/zcd-skin-gen resources/skin";
    const Bitmap bitmap = Load(info.file);
    EXPECT_EQ(bitmap.width, info.width) << info.name;
    EXPECT_EQ(bitmap.height, info.height) << info.name;
  }
}

TEST_F(SkinGenTest, EveryCharacterTheLookupDrawsHasItsOwnPicture) {
  const Bitmap charset = Load(SkinFile::kCharset);
  for (LayoutMode mode : {LayoutMode::kFull, LayoutMode::kShade}) {
    // Characters sharing a piece (folded capitals) count once.
    std::map<std::pair<int, int>, int> pieces;
    for (int c = 0; c < 256; ++c) {
      const Glyph glyph = LookupGlyph(static_cast<unsigned char>(c), mode);
      if (glyph.source != GlyphSource::kCharset)
        continue;
      if (mode == LayoutMode::kShade && c == 0xC6)
        continue;  // its piece lies outside the bitmap
      ASSERT_TRUE(InsideBitmap(glyph.piece, charset)) << c;
      EXPECT_TRUE(AnyLit(charset, glyph.piece)) << "no picture for " << c;
      pieces.emplace(std::make_pair(glyph.piece.x, glyph.piece.y), c);
    }
    std::map<std::vector<uint32_t>, int> seen;
    for (const auto& [at, c] : pieces) {
      const Rect piece = LookupGlyph(static_cast<unsigned char>(c), mode).piece;
      const auto [it, fresh] = seen.emplace(PiecePixels(charset, piece), c);
      EXPECT_TRUE(fresh) << c << " looks like " << it->second;
    }
  }
}

TEST_F(SkinGenTest, DigitsDifferByValueAndBetweenLitAndDim) {
  const Bitmap numbers = Load(SkinFile::kNumberset);
  for (const DigitStrip& strip : {kLargeDigits, kMediumDigits, kTinyDigits}) {
    std::set<std::vector<uint32_t>> lit_shapes;
    for (int digit = 0; digit <= 9; ++digit) {
      const Rect lit = DigitPiece(strip, digit, true);
      const Rect dim = DigitPiece(strip, digit, false);
      ASSERT_TRUE(InsideBitmap(lit, numbers) && InsideBitmap(dim, numbers));
      EXPECT_TRUE(AnyLit(numbers, lit) && AnyLit(numbers, dim)) << digit;
      EXPECT_NE(PiecePixels(numbers, lit), PiecePixels(numbers, dim)) << digit;
      lit_shapes.insert(PiecePixels(numbers, lit));
    }
    EXPECT_EQ(lit_shapes.size(), 10u);
  }
}

TEST_F(SkinGenTest, SpriteMasksAreTheComplementOfTheirImages) {
  const Bitmap mixer = Load(SkinFile::kMixerset);
  struct Sprite {
    Rect image;
    int mask_x;
    int mask_y;
  };
  // Knob pointer and volume thumb.
  for (const Sprite& sprite :
       {Sprite{{221, 0, 13, 13}, 221, 14}, Sprite{{221, 28, 5, 9}, 221, 38}}) {
    int drawn = 0;
    for (int y = 0; y < sprite.image.h; ++y)
      for (int x = 0; x < sprite.image.w; ++x) {
        const uint32_t image = mixer.At(sprite.image.x + x, sprite.image.y + y) & kRgb;
        const uint32_t mask = mixer.At(sprite.mask_x + x, sprite.mask_y + y) & kRgb;
        EXPECT_EQ(mask, image != 0 ? 0u : kRgb) << sprite.image.y << ": " << x << "," << y;
        drawn += image != 0;
      }
    EXPECT_GT(drawn, 0);
  }
}

}  // namespace
}  // namespace zcd::test
