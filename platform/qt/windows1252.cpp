#include "platform/qt/windows1252.h"

#include <QList>
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

char EncodeOne(char32_t c) {
  if (c < 0x80 || (c >= 0xa0 && c <= 0xff))
    return static_cast<char>(c);
  for (size_t i = 0; i < kHighRow.size(); ++i) {
    if (kHighRow[i] == c)
      return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

QString FromWindows1252(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    text += QChar(b >= 0x80 && b < 0xa0 ? kHighRow[b - 0x80] : char16_t{b});
  }
  return text;
}

std::string ToWindows1252(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  // toUcs4 joins surrogate pairs, so a character outside the BMP costs one
  // "?" and a cut-off text never grows.
  for (const char32_t c : text.toUcs4())
    bytes += EncodeOne(c);
  return bytes;
}

}  // namespace zcd
