#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "skin/bmp_codec.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using Bytes = std::vector<uint8_t>;

// A BMP file put together field by field, so each test states exactly what
// is on disk.
struct FileShape {
  uint16_t bits = 24;
  int32_t width = 1;
  int32_t height = 1;
  std::vector<uint32_t> palette = {};  // 0xRRGGBB
  Bytes data = {};
  uint32_t compression = 0;
  std::vector<uint32_t> masks = {};  // after a 40-byte header, or inside a larger one
  uint32_t header_size = 40;
  uint32_t colors_used = 0;
};

void Put(Bytes& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Patch(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

Bytes Build(const FileShape& s) {
  Bytes h;
  const bool core = s.header_size == 12;
  Put(h, s.header_size, 4);
  Put(h, s.width, core ? 2 : 4);
  Put(h, s.height, core ? 2 : 4);
  Put(h, 1, 2);
  Put(h, s.bits, 2);
  if (!core) {
    for (uint32_t v :
         {s.compression, static_cast<uint32_t>(s.data.size()), 2835u, 2835u, s.colors_used, 0u})
      Put(h, v, 4);
    for (uint32_t m : s.masks)
      Put(h, m, 4);
    h.resize(std::max<size_t>(s.header_size, h.size()), 0);
  }
  for (uint32_t c : s.palette)
    Put(h, c, core ? 3 : 4);
  Bytes file = {'B', 'M'};
  Put(file, static_cast<uint32_t>(14 + h.size() + s.data.size()), 4);
  Put(file, 0, 4);
  Put(file, static_cast<uint32_t>(14 + h.size()), 4);
  file.insert(file.end(), h.begin(), h.end());
  file.insert(file.end(), s.data.begin(), s.data.end());
  return file;
}

// Why the file is refused; fails the test when it decodes.
std::string RejectReason(const Bytes& file) {
  std::string error;
  EXPECT_FALSE(DecodeBmp(file, &error).has_value());
  EXPECT_FALSE(error.empty());
  return error;
}

// Rows listed top row first, as 0xRRGGBB.
void ExpectPixels(const Bytes& file, int width, const std::vector<uint32_t>& rows) {
  std::string error;
  const std::optional<Bitmap> b = DecodeBmp(file, &error);
  ASSERT_TRUE(b) << error;
  ASSERT_EQ(b->width, width);
  ASSERT_EQ(static_cast<size_t>(b->width) * b->height, rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(b->pixels[i], rows[i] | 0xFF000000u)
        << "x " << i % width << " y " << i / width << std::hex << " got " << b->pixels[i];
  }
}

constexpr uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0x000000;

FileShape WithPalette(FileShape s, uint32_t size,
                      std::initializer_list<std::pair<int, uint32_t>> set) {
  s.palette.assign(size, K);
  for (const auto& [index, colour] : set)
    s.palette[index] = colour;
  return s;
}

TEST(BmpDecode, EveryDepthAndHeader) {
  const std::vector<uint32_t> k565 = {0xF800, 0x07E0, 0x001F};
  const Bytes k24 = {3, 2, 1, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0};
  const struct {
    const char* name;
    FileShape shape;  // bits, width, height, palette, data, compression, masks, header size
    std::vector<uint32_t> pixels;
  } cases[] = {
      // Two data bytes plus two padding bytes per row; bottom row first.
      {"1 bpp",
       {1, 10, 2, {R, B}, {0b10000000, 0b01000000, 0xEE, 0xEE, 0b00000001, 0b10000000, 0xEE, 0xEE}},
       {R, R, R, R, R, R, R, B, B, R, B, R, R, R, R, R, R, R, R, B}},
      {"4 bpp",
       {4, 3, 2, {K, R, G, B}, {0x12, 0x30, 0xEE, 0xEE, 0x33, 0x20, 0xEE, 0xEE}},
       {B, B, G, R, G, B}},
      // colors_used 0 means a full table; 5 wide pads each row by three bytes.
      {"8 bpp",
       WithPalette({8, 5, 1, {}, {200, 255, 0, 255, 200, 0, 0, 0}}, 256, {{200, G}, {255, W}}),
       {G, W, K, W, G}},
      {"core header",
       WithPalette({4, 2, 2, {}, {0x1F, 0, 0, 0, 0xF1, 0, 0, 0}, 0, {}, 12}, 16,
                   {{1, 0x123456}, {15, W}}),
       {W, 0x123456, 0x123456, W}},
      // Indexes past a two-entry table come out black rather than failing.
      {"short colour table", {8, 4, 1, {R, G}, {1, 0, 2, 255}, 0, {}, 40, 2}, {G, R, K, K}},
      {"24 bpp top-down", {24, 2, -2, {}, k24}, {0x010203, B, G, R}},
      {"24 bpp bottom-up", {24, 2, 2, {}, k24}, {G, R, 0x010203, B}},
      // The fourth byte of plain 32-bit pixels is never alpha.
      {"32 bpp", {32, 2, 1, {}, {0x30, 0x20, 0x10, 0, 0xFF, 0xFF, 0xFF, 0x7F}}, {0x102030, W}},
      // Default 5-5-5: full red, mid green (16 of 31 rounds to 132), top bit ignored.
      {"16 bpp", {16, 3, 1, {}, {0x00, 0x7C, 0x00, 0x02, 0xFF, 0xFF, 0, 0}}, {R, 0x008400, W}},
      // 5-6-5 bit fields after a 40-byte header and inside a V5 header: green
      // 32 of 63 is 130.
      {"5-6-5", {16, 2, 1, {}, {0x1F, 0xF8, 0x00, 0x04}, 3, k565}, {0xFF00FF, 0x008200}},
      {"5-6-5 in V5", {16, 2, 1, {}, {0x1F, 0xF8, 0x00, 0x04}, 3, k565, 124}, {0xFF00FF, 0x008200}},
      // Unusual 32-bit masks in a V4 header: blue in the top byte, red lowest.
      {"odd masks",
       {32, 1, 1, {}, {0x11, 0x22, 0x99, 0x33}, 3, {0xFF, 0xFF00, 0xFF000000}, 108},
       {0x112233}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectPixels(Build(c.shape), c.shape.width, c.pixels);
  }
}

TEST(BmpRle, Rle8RunsEscapesAndSkippedPixels) {
  FileShape s{8, 6, 3, {K, R, G, B}, {}, 1};
  s.data = {3, 1, 0, 3, 2, 3, 2, 0,  // bottom: RRR, absolute G B G + pad
            0, 0,                    // end of line
            0, 2, 2, 1,              // delta: skip two pixels and a row
            2, 3, 0, 0,              // top: BB after the skip, rest untouched
            0, 1};
  // Skipped pixels take table entry 0.
  ExpectPixels(Build(s), 6, {K, K, B, B, K, K, K, K, K, K, K, K, R, R, R, G, B, G});
  s.palette[0] = W;
  ExpectPixels(Build(s), 6, {W, W, B, B, W, W, W, W, W, W, W, W, R, R, R, G, B, G});
}

TEST(BmpRle, Rle4NibblesOddAbsoluteRunsAndRowPadding) {
  FileShape s{4, 7, 2, {K, R, G, B}, {}, 2};
  s.data = {0, 5,    0x12, 0x31, 0x20, 0,  // absolute R G B R G: three bytes + pad
            0, 0,                          // end of line
            0, 3,    0x31, 0x20,           // absolute B R G: two bytes, no pad
            5, 0x12,                       // R G R G, the fifth lands in the padding
            0, 1};
  ExpectPixels(Build(s), 7, {B, R, G, R, G, R, G, R, G, B, R, G, K, K});
  // Rows of 7 four-bit pixels pad to 8; a run reaching a ninth is an error.
  s.data[12] = 6;
  EXPECT_NE(RejectReason(Build(s)).find("row"), std::string::npos);
}

TEST(BmpReject, MalformedHeadersAndData) {
  const Bytes valid = Build({24, 2, 2, {}, Bytes(16, 0x40)});
  ASSERT_TRUE(DecodeBmp(valid).has_value());
  auto with = [&](size_t at, uint32_t v, size_t at2 = 0, uint32_t v2 = 0) {
    Bytes b = valid;
    Patch(b, at, v);
    if (at2 != 0)
      Patch(b, at2, v2);
    return b;
  };
  Bytes bad_signature = valid;
  bad_signature[1] = 'A';
  const struct {
    const char* name;
    Bytes file;
    const char* reason;
  } cases[] = {{"signature", bad_signature, "signature"},
               {"short file header", Bytes(valid.begin(), valid.begin() + 10), "truncated"},
               {"short info header", Bytes(valid.begin(), valid.begin() + 30), "truncated"},
               {"header size", with(14, 64), "header size"},
               {"zero width", with(18, 0), "width"},
               {"negative width", with(18, static_cast<uint32_t>(-2)), "width"},
               {"zero height", with(22, 0), "height"},
               {"wide", with(18, 16385), "too large"},
               {"tall", with(22, 0x80000000u), "too large"},
               {"too many pixels", with(18, 8193, 22, 8193), "too large"},
               {"offset past end", with(10, 1000), "offset"},
               {"offset in header", with(10, 20), "offset"},
               {"truncated pixels", Bytes(valid.begin(), valid.end() - 4), "truncated pixel"},
               {"bit depth", with(28, 7), "bit depth"},
               {"compression", with(30, 4), "compression"},
               {"RLE depth", with(30, 1), "RLE8"},
               {"bit fields on 24 bpp", with(30, 3), "bit-field"},
               {"masks with gaps", Build({16, 1, 1, {}, {0, 0, 0, 0}, 3, {0xF00F, 0x0F00, 0x00F0}}),
                "mask"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NE(RejectReason(c.file).find(c.reason), std::string::npos) << RejectReason(c.file);
  }
}

TEST(BmpReject, RleStreamsThatLeaveTheImage) {
  FileShape s{8, 4, 2, {K, R}, {}, 1};
  const std::vector<std::pair<Bytes, const char*>> cases = {
      {{5, 1, 0, 1}, "row"},                           // run longer than the padded row
      {{0, 5, 1, 1, 1, 1, 1, 0, 0, 1}, "row"},         // absolute longer than the row
      {{0, 0, 0, 0, 1, 1, 0, 1}, "end of the image"},  // third row of two
      {{0, 2, 5, 0, 0, 1}, "delta"},
      {{0, 2, 0, 2, 0, 1}, "delta"},
      {{2, 1, 0, 0}, "truncated"},  // no end of bitmap
      {{0, 4, 1, 1}, "truncated"},  // absolute run cut short
      {{0, 2, 1}, "truncated"},
  };
  for (const auto& [data, reason] : cases) {
    s.data = data;
    EXPECT_NE(RejectReason(Build(s)).find(reason), std::string::npos) << RejectReason(Build(s));
  }
  s.height = -2;
  s.data = {0, 1};
  EXPECT_NE(RejectReason(Build(s)).find("top-down"), std::string::npos);

  // Rows of 6 eight-bit pixels pad to 8: a run may fill the padding, not more.
  s.height = 2;
  s.width = 6;
  s.data = {8, 1, 0, 0, 0, 1};
  ExpectPixels(Build(s), 6, {K, K, K, K, K, K, R, R, R, R, R, R});
  s.data = {9, 1, 0, 0, 0, 1};
  EXPECT_NE(RejectReason(Build(s)).find("row"), std::string::npos);

  // Every row ended, end-of-bitmap missing: the picture is whole.
  s.width = 4;
  s.data = {4, 1, 0, 0, 4, 1, 0, 0};
  ExpectPixels(Build(s), 4, {R, R, R, R, R, R, R, R});
}

// Samples of every layout; each is cut short at every length and has every
// byte overwritten, and must then decode or be refused, never crash.
TEST(BmpFuzz, TruncatedAndCorruptedFilesNeverCrash) {
  const FileShape samples[] = {
      {8, 5, 3, {K, R, G}, {2, 1, 0, 3, 1, 2, 1, 0, 0, 0, 0, 2, 1, 1, 3, 2, 0, 0, 0, 1}, 1},
      {4,
       5,
       3,
       {K, R, G},
       {3, 0x12, 0, 0, 0, 5, 0x21, 0x12, 0x10, 0, 0, 0, 0, 2, 1, 0, 2, 0x22, 0, 1},
       2},
      {16, 3, -2, {}, Bytes(16, 0x5A), 3, {0xF800, 0x07E0, 0x001F}, 124},
      {1, 9, 2, {R, G}, Bytes(8, 0xA5), 0, {}, 12},
      {4, 3, 2, {R, G, B}, Bytes(8, 0x21), 0, {}, 40, 3},
      {32, 2, 2, {}, Bytes(16, 0x33)}};
  std::mt19937 random(20240611);
  int decoded = 0;
  int rejected = 0;
  auto tally = [&](const Bytes& b) {
    std::string error;
    std::optional<Bitmap> bitmap = DecodeBmp(b, &error);
    if (bitmap) {
      ++decoded;
      EXPECT_EQ(bitmap->pixels.size(), static_cast<size_t>(bitmap->width) * bitmap->height);
      for (uint32_t p : bitmap->pixels)
        ASSERT_EQ(p >> 24, 0xFFu);
    } else {
      ++rejected;
      EXPECT_FALSE(error.empty());
    }
  };
  for (const FileShape& shape : samples) {
    const Bytes sample = Build(shape);
    ASSERT_TRUE(DecodeBmp(sample).has_value());
    for (size_t len = 0; len < sample.size(); ++len)
      tally(Bytes(sample.begin(), sample.begin() + len));
    for (size_t at = 0; at < sample.size(); ++at) {
      for (uint8_t v : {0x00, 0x01, 0x7F, 0x80, 0xFF, static_cast<int>(random() & 0xFF)}) {
        Bytes b = sample;
        b[at] = v;
        tally(b);
      }
    }
    for (int round = 0; round < 300; ++round) {
      Bytes b = sample;
      for (int n = 0; n < 4; ++n)
        b[14 + random() % (b.size() - 14)] = static_cast<uint8_t>(random());
      tally(b);
    }
  }
  Bytes noise(200);
  for (int round = 0; round < 300; ++round) {
    for (uint8_t& v : noise)
      v = static_cast<uint8_t>(random());
    noise[0] = 'B';
    noise[1] = 'M';
    tally(noise);
  }
  // Both outcomes must really occur, or the sweep proved nothing.
  EXPECT_GT(decoded, 100);
  EXPECT_GT(rejected, 100);
}

// A pattern with every row padding, written and read back in memory and
// through a file; failures are reported, never crash.
TEST(BmpEncode, RoundTripsAndFilesSaveLoadAndFailCleanly) {
  auto pattern = [](int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        b.At(x, y) = Rgb((x * 37 + y) & 0xFF, (y * 53) & 0xFF, (x * y + 11) & 0xFF);
    return b;
  };
  for (int width = 1; width <= 5; ++width) {
    std::string error;
    EXPECT_EQ(DecodeBmp(EncodeBmp(pattern(width, 3)), &error), pattern(width, 3)) << width << error;
  }
  test::TempDir dir;
  std::string error;
  ASSERT_TRUE(SaveBmpFile(pattern(7, 4), dir.File("a.bmp"), &error)) << error;
  EXPECT_EQ(LoadBmpFile(dir.File("a.bmp"), &error), pattern(7, 4)) << error;

  EXPECT_FALSE(LoadBmpFile(dir.File("missing.bmp"), &error).has_value());
  EXPECT_NE(error.find("missing.bmp"), std::string::npos);
  error.clear();
  EXPECT_FALSE(LoadBmpFile(dir.path(), &error).has_value());
  EXPECT_FALSE(error.empty());
  dir.Write("text.bmp", "hello, not a picture");
  EXPECT_FALSE(LoadBmpFile(dir.File("text.bmp"), &error).has_value());
  EXPECT_NE(error.find("signature"), std::string::npos);
  EXPECT_TRUE(EncodeBmp(Bitmap()).empty());
  EXPECT_FALSE(SaveBmpFile(Bitmap(), dir.File("empty.bmp"), &error));
  EXPECT_FALSE(SaveBmpFile(pattern(7, 4), dir.File("no/such/folder/a.bmp"), &error));
  EXPECT_NE(error.find("cannot write"), std::string::npos);
}

TEST(BmpEncode, WritesTwentyFourBitBottomUpRows) {
  Bitmap image(2, 2);
  image.At(0, 0) = Rgb(1, 2, 3);
  image.At(0, 1) = Rgb(0xAA, 0xBB, 0xCC);  // bottom-left: first in the file
  const Bytes file = EncodeBmp(image);
  Bytes head;
  // Signature, file size, reserved, pixel offset; header size, 2 x 2 (a
  // positive height), one plane, 24 bits, no compression, 16 pixel bytes.
  for (const auto& [v, n] : std::vector<std::pair<uint32_t, int>>{{'B' | 'M' << 8, 2},
                                                                  {70, 4},
                                                                  {0, 4},
                                                                  {54, 4},
                                                                  {40, 4},
                                                                  {2, 4},
                                                                  {2, 4},
                                                                  {1, 2},
                                                                  {24, 2},
                                                                  {0, 4},
                                                                  {16, 4}})
    Put(head, v, n);
  ASSERT_EQ(file.size(), 54u + 2 * 8);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 38), head);
  EXPECT_EQ(Bytes(file.begin() + 54, file.end()),
            (Bytes{0xCC, 0xBB, 0xAA, 0, 0, 0, 0, 0, 3, 2, 1, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace zcd
