#include "cddb/base64.h"

#include <cstdint>

namespace zcd {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kLineLength = 72;

std::string Encode(std::string_view input, bool break_lines) {
  std::string out;
  out.reserve((input.size() + 2) / 3 * 4 + input.size() / 54 * 2);
  int column = 0;
  for (size_t i = 0; i < input.size(); i += 3) {
    const size_t left = input.size() - i;
    uint32_t group = static_cast<uint8_t>(input[i]) << 16;
    if (left > 1)
      group |= static_cast<uint8_t>(input[i + 1]) << 8;
    if (left > 2)
      group |= static_cast<uint8_t>(input[i + 2]);
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
    out += left > 2 ? kAlphabet[group & 63] : '=';
    // Only a group with more input after it counts, so no break ends the text.
    if (left > 3 && break_lines && (column += 4) == kLineLength) {
      out += "\r\n";
      column = 0;
    }
  }
  return out;
}

}  // namespace

std::string EncodeBase64(std::string_view input) {
  return Encode(input, true);
}

std::string EncodeBase64Unbroken(std::string_view input) {
  return Encode(input, false);
}

}  // namespace zcd
