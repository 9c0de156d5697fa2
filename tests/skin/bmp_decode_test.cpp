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

constexpr uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0x000000;

FileShape WithPalette(FileShape s, uint32_t size,
                      std::initializer_list<std::pair<int, uint32_t>> set) {
  s.palette.assign(size, K);
  for (const auto& [index, colour] : set)
    s.palette[index] = colour;
  return s;
}

// Eight-bit run-length data for a picture of width x height, colours black and red.
FileShape Rle8(Bytes data, int32_t width = 4, int32_t height = 2) {
  return {8, width, height, {K, R}, std::move(data), 1};
}

const Bytes kRle8 = {3, 1, 0, 3, 2, 3, 2, 0,  // bottom: RRR, absolute G B G + pad
                     0, 0,                    // end of line
                     0, 2, 2, 1,              // delta: skip two pixels and a row
                     2, 3, 0, 0,              // top: BB after the skip, rest untouched
                     0, 1};
const Bytes kRle4 = {0, 5,    0x12, 0x31, 0x20, 0,  // absolute R G B R G: three bytes + pad
                     0, 0,                          // end of line
                     0, 3,    0x31, 0x20,           // absolute B R G: two bytes, no pad
                     5, 0x12,                       // R G R G, the fifth lands in the padding
                     0, 1};

struct Decodable {
  const char* name;
  FileShape shape;  // bits, width, height, palette, data, compression, masks, header size
  std::vector<uint32_t> pixels;  // top row first, as 0xRRGGBB
};

// Every depth, header and compression, each file in a layout of its own.
std::vector<Decodable> DecodableFiles() {
  const std::vector<uint32_t> k565 = {0xF800, 0x07E0, 0x001F};
  const Bytes k24 = {3, 2, 1, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0};
  return {
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
      {"core header 1 bpp", {1, 9, 2, {R, G}, Bytes(8, 0xA5), 0, {}, 12}, {}},
      // Indexes past a short colour table come out black rather than failing.
      {"short colour table", {8, 4, 1, {R, G}, {1, 0, 2, 255}, 0, {}, 40, 2}, {G, R, K, K}},
      {"4 bpp, three colours", {4, 3, 2, {R, G, B}, Bytes(8, 0x21), 0, {}, 40, 3}, {}},
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
      {"5-6-5 top-down in V5", {16, 3, -2, {}, Bytes(16, 0x5A), 3, k565, 124}, {}},
      // Unusual 32-bit masks in a V4 header: blue in the top byte, red lowest.
      {"odd masks",
       {32, 1, 1, {}, {0x11, 0x22, 0x99, 0x33}, 3, {0xFF, 0xFF00, 0xFF000000}, 108},
       {0x112233}},
      // Runs, absolute runs, end of line, a delta and end of bitmap; skipped
      // pixels take table entry 0.
      {"RLE8",
       {8, 6, 3, {K, R, G, B}, kRle8, 1},
       {K, K, B, B, K, K, K, K, K, K, K, K, R, R, R, G, B, G}},
      {"RLE8, entry 0 white",
       {8, 6, 3, {W, R, G, B}, kRle8, 1},
       {W, W, B, B, W, W, W, W, W, W, W, W, R, R, R, G, B, G}},
      // Nibbles, odd absolute runs and row padding.
      {"RLE4", {4, 7, 2, {K, R, G, B}, kRle4, 2}, {B, R, G, R, G, R, G, R, G, B, R, G, K, K}},
      // Rows of 6 eight-bit pixels pad to 8: a run may fill the padding.
      {"RLE8 run into the padding",
       Rle8({8, 1, 0, 0, 0, 1}, 6),
       {K, K, K, K, K, K, R, R, R, R, R, R}},
      // Every row ended, end-of-bitmap missing: the picture is whole.
      {"RLE8 without end of bitmap", Rle8({4, 1, 0, 0, 4, 1, 0, 0}), {R, R, R, R, R, R, R, R}},
  };
}

TEST(BmpDecode, EveryDepthHeaderAndCompression) {
  for (const auto& c : DecodableFiles()) {
    SCOPED_TRACE(c.name);
    std::string error;
    const std::optional<Bitmap> b = DecodeBmp(Build(c.shape), &error);
    ASSERT_TRUE(b) << error;
    ASSERT_EQ(b->width, c.shape.width);
    ASSERT_EQ(b->height, std::abs(c.shape.height));
    ASSERT_EQ(c.pixels.empty() ? 0 : b->pixels.size(), c.pixels.size());
    for (size_t i = 0; i < c.pixels.size(); ++i) {
      EXPECT_EQ(b->pixels[i], c.pixels[i] | 0xFF000000u)
          << "x " << i % b->width << " y " << i / b->width << std::hex << " got " << b->pixels[i];
    }
  }
}

TEST(BmpDecode, MalformedHeadersAndDataAreRefusedWithAReason) {
  const Bytes valid = Build({24, 2, 2, {}, Bytes(16, 0x40)});
  auto with = [&](size_t at, uint32_t v, size_t at2 = 0, uint32_t v2 = 0) {
    Bytes b = valid;
    for (int i = 0; i < 4; ++i) {
      b[at + i] = static_cast<uint8_t>(v >> (8 * i));
      if (at2 != 0)
        b[at2 + i] = static_cast<uint8_t>(v2 >> (8 * i));
    }
    return b;
  };
  Bytes bad_signature = valid;
  bad_signature[1] = 'A';
  Bytes rle4 = kRle4;
  rle4[12] = 6;  // rows of 7 four-bit pixels pad to 8: a run reaching a ninth
  const std::pair<Bytes, const char*> cases[] = {
      {bad_signature, "signature"},
      {Bytes(valid.begin(), valid.begin() + 10), "truncated"},
      {Bytes(valid.begin(), valid.begin() + 30), "truncated"},
      {with(14, 64), "header size"},
      {with(18, 0), "width"},
      {with(18, static_cast<uint32_t>(-2)), "width"},
      {with(22, 0), "height"},
      {with(18, 16385), "too large"},
      {with(22, 0x80000000u), "too large"},
      {with(18, 8193, 22, 8193), "too large"},  // too many pixels
      {with(10, 1000), "offset"},               // past the end
      {with(10, 20), "offset"},                 // inside the header
      {Bytes(valid.begin(), valid.end() - 4), "truncated pixel"},
      {with(28, 7), "bit depth"},
      {with(30, 4), "compression"},
      {with(30, 1), "RLE8"},
      {with(30, 3), "bit-field"},                                                  // on 24 bpp
      {Build({16, 1, 1, {}, {0, 0, 0, 0}, 3, {0xF00F, 0x0F00, 0x00F0}}), "mask"},  // with gaps
      {Build({4, 7, 2, {K, R, G, B}, rle4, 2}), "row"},
      {Build(Rle8({5, 1, 0, 1})), "row"},                    // run longer than the padded row
      {Build(Rle8({9, 1, 0, 0, 0, 1}, 6)), "row"},           // one past the padding
      {Build(Rle8({0, 5, 1, 1, 1, 1, 1, 0, 0, 1})), "row"},  // absolute longer than the row
      {Build(Rle8({0, 0, 0, 0, 1, 1, 0, 1})), "end of the image"},  // third row of two
      {Build(Rle8({0, 2, 5, 0, 0, 1})), "delta"},
      {Build(Rle8({0, 2, 0, 2, 0, 1})), "delta"},
      {Build(Rle8({2, 1, 0, 0})), "truncated"},  // no end of bitmap
      {Build(Rle8({0, 4, 1, 1})), "truncated"},  // absolute run cut short
      {Build(Rle8({0, 2, 1})), "truncated"},
      {Build(Rle8({0, 1}, 4, -2)), "top-down"}};
  for (const auto& [file, reason] : cases) {
    std::string error;
    EXPECT_FALSE(DecodeBmp(file, &error).has_value()) << reason;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  }
}

// Every decodable layout cut short at every length and with every byte
// overwritten must then decode or be refused, never crash.
TEST(BmpDecode, TruncatedAndCorruptedFilesNeverCrash) {
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
  for (const auto& c : DecodableFiles()) {
    const Bytes sample = Build(c.shape);
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

// Twenty-four-bit bottom-up rows, each padded; written and read back in
// memory and through a file; failures are reported, never crash.
TEST(BmpEncode, WritesRoundTripsSavesLoadsAndFailsCleanly) {
  Bitmap image(2, 2);
  image.At(0, 0) = Rgb(1, 2, 3);
  image.At(0, 1) = Rgb(0xAA, 0xBB, 0xCC);  // bottom-left: first in the file
  EXPECT_EQ(EncodeBmp(image),
            Build({24, 2, 2, {}, {0xCC, 0xBB, 0xAA, 0, 0, 0, 0, 0, 3, 2, 1, 0, 0, 0, 0, 0}}));

  auto pattern = [](int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        b.At(x, y) = Rgb((x * 37 + y) & 0xFF, (y * 53) & 0xFF, (x * y + 11) & 0xFF);
    return b;
  };
  std::string error;
  for (int width = 1; width <= 5; ++width)
    EXPECT_EQ(DecodeBmp(EncodeBmp(pattern(width, 3)), &error), pattern(width, 3)) << width << error;
  test::TempDir dir;
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

}  // namespace
}  // namespace zcd
