#include "base/text.h"

#include <algorithm>

namespace zcd {
namespace {

unsigned char FoldedByte(char c) {
  return static_cast<unsigned char>(LowerAscii(c));
}

}  // namespace

std::string LowerAscii(std::string text) {
  for (char& c : text)
    c = LowerAscii(c);
  return text;
}

std::string UpperAscii(std::string text) {
  for (char& c : text)
    c = UpperAscii(c);
  return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, {}, FoldedByte, FoldedByte);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool LessIgnoringCase(std::string_view a, std::string_view b) {
  if (EqualsIgnoringCase(a, b))
    return a < b;
  return std::ranges::lexicographical_compare(a, b, {}, FoldedByte, FoldedByte);
}

uint64_t Fnv1a64(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace zcd
