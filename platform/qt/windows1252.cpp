#include "platform/qt/windows1252.h"

#include <QList>

#include "base/windows1252.h"

namespace zcd {

QString FromWindows1252(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  // Every character of Windows-1252 lies in the Basic Multilingual Plane.
  for (const char byte : bytes)
    text += QChar(static_cast<char16_t>(DecodeWindows1252(byte)));
  return text;
}

std::string ToWindows1252(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  // toUcs4 joins surrogate pairs, so a character outside the BMP costs one
  // "?" and a cut-off text never grows.
  for (const char32_t c : text.toUcs4())
    bytes += EncodeWindows1252(c);
  return bytes;
}

}  // namespace zcd
