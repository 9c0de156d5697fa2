#include "tools/zcd_db/windows1252.h"

#include <array>
#include <cstdint>
#include <utility>

namespace zcd::tool {
namespace {

// The code points Windows-1252 places at 0x80..0x9f.
constexpr std::array<std::pair<char32_t, unsigned char>, 27> kHighTable = {{
    {0x20ac, 0x80}, {0x201a, 0x82}, {0x0192, 0x83}, {0x201e, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02c6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8a}, {0x2039, 0x8b}, {0x0152, 0x8c},
    {0x017d, 0x8e}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201c, 0x93}, {0x201d, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02dc, 0x98}, {0x2122, 0x99}, {0x0161, 0x9a}, {0x203a, 0x9b},
    {0x0153, 0x9c}, {0x017e, 0x9e}, {0x0178, 0x9f},
}};

char ToWindows1252(char32_t c) {
  if (c < 0x80 || (c >= 0xa0 && c <= 0xff))
    return static_cast<char>(c);
  for (const auto& [code, byte] : kHighTable) {
    if (code == c)
      return static_cast<char>(byte);
  }
  return '?';
}

}  // namespace

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
    out += ToWindows1252(c);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

}  // namespace zcd::tool
