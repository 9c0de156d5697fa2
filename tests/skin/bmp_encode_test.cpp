#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/bmp_codec.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

Bitmap Pattern(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      b.At(x, y) = Rgb((x * 37 + y) & 0xFF, (y * 53) & 0xFF, (x * y + 11) & 0xFF);
    }
  }
  return b;
}

TEST(BmpEncode, RoundTripsEveryRowPadding) {
  for (int width = 1; width <= 5; ++width) {
    const Bitmap image = Pattern(width, 3);
    const std::vector<uint8_t> file = EncodeBmp(image);
    std::string error;
    std::optional<Bitmap> back = DecodeBmp(file, &error);
    ASSERT_TRUE(back.has_value()) << error;
    EXPECT_EQ(*back, image) << "width " << width;
  }
}

TEST(BmpEncode, WritesTwentyFourBitBottomUpRows) {
  Bitmap image(2, 2);
  image.At(0, 0) = Rgb(1, 2, 3);
  image.At(0, 1) = Rgb(0xAA, 0xBB, 0xCC);  // bottom-left: first in the file
  const std::vector<uint8_t> file = EncodeBmp(image);
  ASSERT_EQ(file.size(), 54u + 2 * 8);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Le32(file, 2), file.size());
  EXPECT_EQ(Le32(file, 10), 54u);
  EXPECT_EQ(Le32(file, 14), 40u);
  EXPECT_EQ(static_cast<int32_t>(Le32(file, 22)), 2);  // positive height
  EXPECT_EQ(file[28], 24);
  EXPECT_EQ(Le32(file, 30), 0u);
  EXPECT_EQ(Le32(file, 34), 16u);
  const std::vector<uint8_t> bottom(file.begin() + 54, file.begin() + 62);
  EXPECT_EQ(bottom, (std::vector<uint8_t>{0xCC, 0xBB, 0xAA, 0, 0, 0, 0, 0}));
  EXPECT_EQ(file[62], 3);  // blue first
  EXPECT_EQ(file[64], 1);
}

TEST(BmpEncode, FilesSaveLoadAndFailCleanly) {
  test::TempDir dir;
  const Bitmap image = Pattern(7, 4);
  ASSERT_TRUE(SaveBmpFile(image, dir.File("a.bmp")));
  std::string error;
  std::optional<Bitmap> back = LoadBmpFile(dir.File("a.bmp"), &error);
  ASSERT_TRUE(back.has_value()) << error;
  EXPECT_EQ(*back, image);

  EXPECT_FALSE(LoadBmpFile(dir.File("missing.bmp"), &error).has_value());
  EXPECT_NE(error.find("missing.bmp"), std::string::npos);
  EXPECT_FALSE(LoadBmpFile(dir.path(), &error).has_value());
  EXPECT_FALSE(error.empty());
  dir.Write("text.bmp", "hello, not a picture");
  EXPECT_FALSE(LoadBmpFile(dir.File("text.bmp"), &error).has_value());
  EXPECT_NE(error.find("signature"), std::string::npos);

  EXPECT_TRUE(EncodeBmp(Bitmap()).empty());
  EXPECT_FALSE(SaveBmpFile(Bitmap(), dir.File("empty.bmp"), &error));
  EXPECT_FALSE(SaveBmpFile(image, dir.File("no/such/folder/a.bmp"), &error));
  EXPECT_NE(error.find("cannot write"), std::string::npos);
}

}  // namespace
}  // namespace zcd
