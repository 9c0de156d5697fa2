#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "skin/bmp_codec.h"

namespace zcd {
namespace {

using Bytes = std::vector<uint8_t>;

// A BMP file put together field by field, so each test states exactly what
// is on disk.
struct FileShape {
  uint32_t header_size = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  std::vector<uint32_t> palette = {};  // 0xRRGGBB
  uint32_t colors_used = 0;
  std::vector<uint32_t> masks = {};  // after a 40-byte header, or inside a larger one
  Bytes data = {};
};

void U16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void U32(Bytes& b, uint32_t v) {
  U16(b, v & 0xFFFF);
  U16(b, v >> 16);
}
void PatchU32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
}

Bytes Build(const FileShape& s) {
  Bytes h;
  U32(h, s.header_size);
  if (s.header_size == 12) {
    U16(h, s.width);
    U16(h, s.height);
    U16(h, 1);
    U16(h, s.bits);
  } else {
    U32(h, s.width);
    U32(h, s.height);
    U16(h, 1);
    U16(h, s.bits);
    U32(h, s.compression);
    U32(h, static_cast<uint32_t>(s.data.size()));
    U32(h, 2835);
    U32(h, 2835);
    U32(h, s.colors_used);
    U32(h, 0);
    for (uint32_t m : s.masks) {
      U32(h, m);
    }
    h.resize(s.header_size > 40 ? s.header_size : h.size(), 0);
  }
  for (uint32_t c : s.palette) {
    h.push_back(static_cast<uint8_t>(c));
    h.push_back(static_cast<uint8_t>(c >> 8));
    h.push_back(static_cast<uint8_t>(c >> 16));
    if (s.header_size != 12) {
      h.push_back(0);
    }
  }
  Bytes file = {'B', 'M'};
  U32(file, static_cast<uint32_t>(14 + h.size() + s.data.size()));
  U32(file, 0);
  U32(file, static_cast<uint32_t>(14 + h.size()));
  file.insert(file.end(), h.begin(), h.end());
  file.insert(file.end(), s.data.begin(), s.data.end());
  return file;
}

Bitmap Decode(const Bytes& file) {
  std::string error;
  std::optional<Bitmap> bitmap = DecodeBmp(file, &error);
  EXPECT_TRUE(bitmap.has_value()) << error;
  return bitmap.value_or(Bitmap());
}

std::string RejectReason(const Bytes& file) {
  std::string error;
  EXPECT_FALSE(DecodeBmp(file, &error).has_value());
  EXPECT_FALSE(error.empty());
  return error;
}

// Rows listed top row first, as 0xRRGGBB.
void ExpectPixels(const Bitmap& b, int width, const std::vector<uint32_t>& rows) {
  ASSERT_EQ(b.width, width);
  ASSERT_EQ(static_cast<size_t>(b.width) * b.height, rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(b.pixels[i], rows[i] | 0xFF000000u)
        << "x " << i % width << " y " << i / width << std::hex << " got " << b.pixels[i];
  }
}

constexpr uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0x000000;

TEST(BmpDecode, IndexedDepthsBottomUpWithRowPadding) {
  // 1 bpp, 10 wide: two data bytes plus two padding bytes per row.
  FileShape one{.width = 10, .height = 2, .bits = 1, .palette = {R, B}};
  one.data = {0b10000000, 0b01000000, 0xEE, 0xEE,                      // bottom row
              0b00000001, 0b10000000, 0xEE, 0xEE};                     // top row
  ExpectPixels(Decode(Build(one)), 10, {R, R, R, R, R, R, R, B, B, R,  //
                                        B, R, R, R, R, R, R, R, R, B});

  FileShape four{.width = 3, .height = 2, .bits = 4, .palette = {K, R, G, B}};
  four.data = {0x12, 0x30, 0xEE, 0xEE, 0x33, 0x20, 0xEE, 0xEE};
  ExpectPixels(Decode(Build(four)), 3, {B, B, G, R, G, B});

  // colors_used 0 means a full table; 5 wide pads each row by three bytes.
  FileShape eight{.width = 5, .height = 1, .bits = 8};
  eight.palette.assign(256, K);
  eight.palette[200] = G;
  eight.palette[255] = W;
  eight.data = {200, 255, 0, 255, 200, 0, 0, 0};
  ExpectPixels(Decode(Build(eight)), 5, {G, W, K, W, G});
}

TEST(BmpDecode, CoreHeaderAndShortColourTables) {
  FileShape core{.header_size = 12, .width = 2, .height = 2, .bits = 4};
  core.palette.assign(16, K);
  core.palette[1] = 0x123456;
  core.palette[15] = W;
  core.data = {0x1F, 0, 0, 0, 0xF1, 0, 0, 0};
  ExpectPixels(Decode(Build(core)), 2, {W, 0x123456, 0x123456, W});

  // Indexes past a two-entry table come out black rather than failing.
  FileShape shorter{.width = 4, .height = 1, .bits = 8, .palette = {R, G}, .colors_used = 2};
  shorter.data = {1, 0, 2, 255};
  ExpectPixels(Decode(Build(shorter)), 4, {G, R, K, K});
}

TEST(BmpDecode, TrueColourTopDownAndBottomUp) {
  FileShape down{.width = 2, .height = -2, .bits = 24};
  down.data = {0x03, 0x02, 0x01, 0xFF, 0, 0,    0, 0,  // top row
               0,    0xFF, 0,    0,    0, 0xFF, 0, 0};
  ExpectPixels(Decode(Build(down)), 2, {0x010203, B, G, R});
  FileShape up = down;
  up.height = 2;
  ExpectPixels(Decode(Build(up)), 2, {G, R, 0x010203, B});

  // The fourth byte of plain 32-bit pixels is never alpha.
  FileShape plain{.width = 2, .height = 1, .bits = 32};
  plain.data = {0x30, 0x20, 0x10, 0x00, 0xFF, 0xFF, 0xFF, 0x7F};
  ExpectPixels(Decode(Build(plain)), 2, {0x102030, W});
}

TEST(BmpDecode, SixteenAndThirtyTwoBitMasks) {
  // Default 5-5-5: full red, mid green (16 of 31 rounds to 132), top bit ignored.
  FileShape def{.width = 3, .height = 1, .bits = 16};
  def.data = {0x00, 0x7C, 0x00, 0x02, 0xFF, 0xFF, 0, 0};
  ExpectPixels(Decode(Build(def)), 3, {R, 0x008400, W});

  // 5-6-5 through bit fields, with the masks after a 40-byte header and inside
  // a V5 header: green 32 of 63 is 130.
  for (uint32_t header : {40u, 124u}) {
    FileShape rgb565{.header_size = header, .width = 2, .height = 1, .bits = 16, .compression = 3};
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    rgb565.data = {0x1F, 0xF8, 0x00, 0x04};
    ExpectPixels(Decode(Build(rgb565)), 2, {0xFF00FF, 0x008200});
  }

  // Unusual 32-bit masks in a V4 header: blue in the top byte, red lowest.
  FileShape odd{.header_size = 108, .width = 1, .height = 1, .bits = 32, .compression = 3};
  odd.masks = {0x000000FF, 0x0000FF00, 0xFF000000};
  odd.data = {0x11, 0x22, 0x99, 0x33};
  ExpectPixels(Decode(Build(odd)), 1, {0x112233});
}

TEST(BmpRle, Rle8RunsEscapesAndSkippedPixels) {
  FileShape s{.width = 6, .height = 3, .bits = 8, .compression = 1, .palette = {K, R, G, B}};
  s.data = {3, 1, 0, 3, 2, 3, 2, 0,  // bottom: RRR, absolute G B G + pad
            0, 0,                    // end of line
            0, 2, 2, 1,              // delta: skip two pixels and a row
            2, 3, 0, 0,              // top: BB after the skip, rest untouched
            0, 1};
  const uint32_t W0 = K;  // skipped pixels take table entry 0
  ExpectPixels(Decode(Build(s)), 6,
               {W0, W0, B, B, W0, W0,    //
                W0, W0, W0, W0, W0, W0,  //
                R, R, R, G, B, G});
  s.palette[0] = W;
  EXPECT_EQ(Decode(Build(s)).At(0, 0), W | 0xFF000000u);
}

TEST(BmpRle, Rle4NibblesOddAbsoluteRunsAndRowPadding) {
  FileShape s{.width = 7, .height = 2, .bits = 4, .compression = 2, .palette = {K, R, G, B}};
  s.data = {0, 5,    0x12, 0x31, 0x20, 0,  // absolute R G B R G: three bytes + pad
            0, 0,                          // end of line
            0, 3,    0x31, 0x20,           // absolute B R G: two bytes, no pad
            5, 0x12,                       // R G R G, the fifth lands in the padding
            0, 1};
  ExpectPixels(Decode(Build(s)), 7,
               {B, R, G, R, G, R, G,  //
                R, G, B, R, G, K, K});
  // Rows of 7 four-bit pixels pad to 8; a run reaching a ninth is an error.
  s.data[12] = 6;
  EXPECT_NE(RejectReason(Build(s)).find("row"), std::string::npos);
}

TEST(BmpReject, MalformedHeadersAndData) {
  FileShape good{.width = 2, .height = 2, .bits = 24, .data = Bytes(16, 0x40)};
  const Bytes valid = Build(good);
  ASSERT_TRUE(DecodeBmp(valid).has_value());

  auto with = [&](size_t at, uint32_t v) {
    Bytes b = valid;
    PatchU32(b, at, v);
    return b;
  };
  struct Case {
    const char* name;
    Bytes file;
    const char* reason;
  };
  Bytes bad_signature = valid;
  bad_signature[1] = 'A';
  std::vector<Case> cases = {
      {"signature", bad_signature, "signature"},
      {"short file header", Bytes(valid.begin(), valid.begin() + 10), "truncated"},
      {"short info header", Bytes(valid.begin(), valid.begin() + 30), "truncated"},
      {"header size", with(14, 64), "header size"},
      {"zero width", with(18, 0), "width"},
      {"negative width", with(18, static_cast<uint32_t>(-2)), "width"},
      {"zero height", with(22, 0), "height"},
      {"wide", with(18, 16385), "too large"},
      {"tall", with(22, 0x80000000u), "too large"},
      {"offset past end", with(10, 1000), "offset"},
      {"offset in header", with(10, 20), "offset"},
      {"truncated pixels", Bytes(valid.begin(), valid.end() - 4), "truncated pixel"},
      {"bit depth", with(28, 7), "bit depth"},
      {"compression", with(30, 4), "compression"},
      {"RLE depth", with(30, 1), "RLE8"},
      {"bit fields on 24 bpp", with(30, 3), "bit-field"},
  };
  Bytes huge = with(18, 8193);
  PatchU32(huge, 22, 8193);
  cases.push_back({"too many pixels", huge, "too large"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NE(RejectReason(c.file).find(c.reason), std::string::npos) << RejectReason(c.file);
  }

  FileShape gaps{.width = 1, .height = 1, .bits = 16, .compression = 3};
  gaps.masks = {0xF00F, 0x0F00, 0x00F0};
  gaps.data = {0, 0, 0, 0};
  EXPECT_NE(RejectReason(Build(gaps)).find("mask"), std::string::npos);
}

TEST(BmpReject, RleStreamsThatLeaveTheImage) {
  FileShape s{.width = 4, .height = 2, .bits = 8, .compression = 1, .palette = {K, R}};
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
  ExpectPixels(Decode(Build(s)), 6, {K, K, K, K, K, K, R, R, R, R, R, R});
  s.data = {9, 1, 0, 0, 0, 1};
  EXPECT_NE(RejectReason(Build(s)).find("row"), std::string::npos);

  // Every row ended, end-of-bitmap missing: the picture is whole.
  s.width = 4;
  s.data = {4, 1, 0, 0, 4, 1, 0, 0};
  ExpectPixels(Decode(Build(s)), 4, {R, R, R, R, R, R, R, R});
}

// Samples of every layout; each is cut short at every length and has every
// byte overwritten, and must then decode or be refused, never crash.
std::vector<Bytes> Samples() {
  std::vector<Bytes> out;
  FileShape rle8{.width = 5, .height = 3, .bits = 8, .compression = 1, .palette = {K, R, G}};
  rle8.data = {2, 1, 0, 3, 1, 2, 1, 0, 0, 0, 0, 2, 1, 1, 3, 2, 0, 0, 0, 1};
  FileShape rle4{.width = 5, .height = 3, .bits = 4, .compression = 2, .palette = {K, R, G}};
  rle4.data = {3, 0x12, 0, 0, 0, 5, 0x21, 0x12, 0x10, 0, 0, 0, 0, 2, 1, 0, 2, 0x22, 0, 1};
  FileShape bits16{.header_size = 124, .width = 3, .height = -2, .bits = 16, .compression = 3};
  bits16.masks = {0xF800, 0x07E0, 0x001F};
  bits16.data = Bytes(16, 0x5A);
  FileShape core{.header_size = 12, .width = 9, .height = 2, .bits = 1, .palette = {R, G}};
  core.data = Bytes(8, 0xA5);
  FileShape four{.width = 3, .height = 2, .bits = 4, .palette = {R, G, B}, .colors_used = 3};
  four.data = Bytes(8, 0x21);
  FileShape plain32{.width = 2, .height = 2, .bits = 32, .data = Bytes(16, 0x33)};
  for (const FileShape* s : {&rle8, &rle4, &bits16, &core, &four, &plain32}) {
    out.push_back(Build(*s));
  }
  return out;
}

TEST(BmpFuzz, TruncatedAndCorruptedFilesNeverCrash) {
  std::mt19937 random(20240611);
  int decoded = 0;
  int rejected = 0;
  auto tally = [&](const Bytes& b) {
    std::string error;
    std::optional<Bitmap> bitmap = DecodeBmp(b, &error);
    if (bitmap) {
      ++decoded;
      EXPECT_EQ(bitmap->pixels.size(), static_cast<size_t>(bitmap->width) * bitmap->height);
      for (uint32_t p : bitmap->pixels) {
        ASSERT_EQ(p >> 24, 0xFFu);
      }
    } else {
      ++rejected;
      EXPECT_FALSE(error.empty());
    }
  };
  for (const Bytes& sample : Samples()) {
    ASSERT_TRUE(DecodeBmp(sample).has_value());
    for (size_t len = 0; len < sample.size(); ++len) {
      tally(Bytes(sample.begin(), sample.begin() + len));
    }
    for (size_t at = 0; at < sample.size(); ++at) {
      for (uint8_t v : {uint8_t{0x00}, uint8_t{0x01}, uint8_t{0x7F}, uint8_t{0x80}, uint8_t{0xFF},
                        static_cast<uint8_t>(random())}) {
        Bytes b = sample;
        b[at] = v;
        tally(b);
      }
    }
    for (int round = 0; round < 300; ++round) {
      Bytes b = sample;
      for (int n = 0; n < 4; ++n) {
        b[14 + random() % (b.size() - 14)] = static_cast<uint8_t>(random());
      }
      tally(b);
    }
  }
  Bytes noise(200);
  for (int round = 0; round < 300; ++round) {
    for (uint8_t& v : noise) {
      v = static_cast<uint8_t>(random());
    }
    noise[0] = 'B';
    noise[1] = 'M';
    tally(noise);
  }
  // Both outcomes must really occur, or the sweep proved nothing.
  EXPECT_GT(decoded, 100);
  EXPECT_GT(rejected, 100);
}

}  // namespace
}  // namespace zcd
