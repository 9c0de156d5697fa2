#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zcd {

// Texts are bytes of a Western code page. Only ASCII letters fold, so no
// result depends on the process locale.
constexpr char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string LowerAscii(std::string text);
std::string UpperAscii(std::string text);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
// Case-folded byte order; names that differ only in case still get a fixed
// order, by their bytes.
bool LessIgnoringCase(std::string_view a, std::string_view b);

// The 64-bit FNV-1a hash of the bytes: stable across runs and machines, so
// it may name files and check stored pages.
uint64_t Fnv1a64(std::string_view bytes);

}  // namespace zcd
