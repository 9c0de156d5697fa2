#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "skin/bmp_codec.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

// Files written by an independent encoder, compared pixel by pixel with what
// that same tool reads back from them.
constexpr const char* kConvert = "/usr/bin/convert";
constexpr int kWidth = 13;
constexpr int kHeight = 7;

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Convert(const std::string& args) {
  const std::string command = std::string(kConvert) + " " + args + " 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

class BmpConvert : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kConvert))
      GTEST_SKIP() << kConvert << " not installed";
    // An odd width forces row padding; a few repeated levels keep palettes small.
    std::mt19937 random(7);
    const uint8_t levels[] = {0, 40, 128, 200, 255};
    std::string ppm = "P6 " + std::to_string(kWidth) + " " + std::to_string(kHeight) + " 255\n";
    for (int i = 0; i < kWidth * kHeight * 3; ++i)
      ppm.push_back(static_cast<char>(levels[random() % 5]));
    dir_.Write("src.ppm", ppm);
  }

  // Convert's reading of a picture file, as bytes of red, green and blue.
  Bytes ConvertRgb(const std::string& path) {
    return Convert(path + " -depth 8 rgb:" + dir_.File("out.rgb")) ? ReadAll(dir_.File("out.rgb"))
                                                                   : Bytes();
  }
  static Bytes OurRgb(const Bitmap& b) {
    Bytes rgb;
    for (const uint32_t p : b.pixels)
      rgb.insert(rgb.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
    return rgb;
  }

  test::TempDir dir_;
};

struct Case {
  const char* options;
  uint32_t header_size;
  int bits;
  uint32_t compression;
  int tolerance;  // widening 5- and 6-bit channels may round either way
};

const Case kCases[] = {
    {"-type Bilevel BMP3", 40, 1, 0, 0},
    {"-colors 12 -type Palette BMP3", 40, 4, 0, 0},
    {"-colors 40 -type Palette -compress None BMP3", 40, 8, 0, 0},
    {"-colors 40 -type Palette -compress RLE BMP3", 40, 8, 1, 0},
    {"-colors 40 -type Palette -compress RLE -define bmp:format=bmp4 BMP", 124, 8, 1, 0},
    {"-colors 12 -type Palette BMP2", 12, 4, 0, 0},
    {"BMP2", 12, 24, 0, 0},
    {"BMP3", 40, 24, 0, 0},
    {"-define bmp:format=bmp4 BMP", 124, 24, 0, 0},
    {"-type TrueColorAlpha BMP", 124, 32, 3, 0},
    {"-define bmp:subtype=RGB565 BMP", 124, 16, 3, 1},
    {"-define bmp:subtype=RGB555 BMP", 124, 16, 3, 1},
};

// Damaged files of every layout are swept in memory by the decoder's own
// tests.
TEST_F(BmpConvert, DecodesEveryLayoutAsConvertReadsIt) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.options);
    ASSERT_TRUE(Convert(dir_.File("src.ppm") + " " + c.options + ":" + dir_.File("out.bmp")));
    const Bytes file = ReadAll(dir_.File("out.bmp"));
    const Bytes rgb = ConvertRgb(dir_.File("out.bmp"));
    // Make sure the tool really wrote the layout this case is meant to cover.
    ASSERT_GT(file.size(), 30u);
    EXPECT_EQ(file[14], c.header_size);
    EXPECT_EQ(file[c.header_size == 12 ? 24 : 28], c.bits);
    EXPECT_EQ(c.header_size == 12 ? 0 : file[30], c.compression);

    std::string error;
    std::optional<Bitmap> bitmap = DecodeBmp(file, &error);
    ASSERT_TRUE(bitmap.has_value()) << error;
    ASSERT_EQ(bitmap->width, kWidth);
    ASSERT_EQ(bitmap->height, kHeight);
    const Bytes ours = OurRgb(*bitmap);  // with the alpha byte, which must be opaque
    ASSERT_EQ(rgb.size(), static_cast<size_t>(kWidth * kHeight * 3));
    for (size_t i = 0; i < rgb.size(); ++i) {
      ASSERT_EQ(ours[i / 3 * 4 + 3], 0xFF) << i / 3;
      ASSERT_LE(std::abs(ours[i / 3 * 4 + i % 3] - rgb[i]), c.tolerance)
          << "pixel " << i / 3 % kWidth << "," << i / 3 / kWidth << " channel " << i % 3;
    }
  }
}

TEST_F(BmpConvert, ConvertReadsEncodedFilesBack) {
  Bitmap image(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x)
      image.At(x, y) = Rgb(x * 19, y * 36, (x * y * 7) & 0xFF);
  }
  ASSERT_TRUE(SaveBmpFile(image, dir_.File("ours.bmp")));
  Bytes ours = OurRgb(image);
  std::erase_if(ours, [i = 0](uint8_t) mutable { return ++i % 4 == 0; });
  EXPECT_EQ(ConvertRgb(dir_.File("ours.bmp")), ours);
}

}  // namespace
}  // namespace zcd
