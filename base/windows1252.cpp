#include "base/windows1252.h"

#include <array>

namespace zcd {
namespace {

// What Windows-1252 places at 0x80..0x9f; the unassigned bytes keep their
// own value so that they survive a round trip.
constexpr std::array<char16_t, 32> kHighRow = {
    0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008d, 0x017d, 0x008f, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178,
};

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xc0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3f));
  } else {
    // Every character of the table lies in the Basic Multilingual Plane.
    out += static_cast<char>(0xe0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (c & 0x3f));
  }
}

}  // namespace

char32_t DecodeWindows1252(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return b >= 0x80 && b < 0xa0 ? kHighRow[b - 0x80] : char32_t{b};
}

char EncodeWindows1252(char32_t c) {
  if (c < 0x80 || (c >= 0xa0 && c <= 0xff))
    return static_cast<char>(c);
  for (size_t i = 0; i < kHighRow.size(); ++i) {
    if (kHighRow[i] == c)
      return static_cast<char>(0x80 + i);
  }
  return '?';
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xe0) == 0xc0) {
      extra = 1, c = lead & 0x1f, minimum = 0x80;
    } else if ((lead & 0xf0) == 0xe0) {
      extra = 2, c = lead & 0x0f, minimum = 0x800;
    } else if ((lead & 0xf8) == 0xf0) {
      extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + static_cast<size_t>(extra) >= utf8.size())
      return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xc0) != 0x80)
        return std::nullopt;
      c = (c << 6) | (next & 0x3f);
    }
    if (c < minimum || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff))
      return std::nullopt;
    out += EncodeWindows1252(c);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char byte : bytes)
    AppendUtf8(DecodeWindows1252(byte), out);
  return out;
}

}  // namespace zcd
