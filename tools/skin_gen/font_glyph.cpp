#include <array>

#include "tools/skin_gen/fonts.h"

namespace zcd::skin_gen {
namespace {

// Lower-case letters of the Western code page drawn as a plain letter with
// an accent over it.
struct AccentedLetter {
  unsigned char code;
  char base;
  Accent accent;
};

constexpr std::array<AccentedLetter, 21> kAccentedLetters{{
    {0xE0, 'a', Accent::kGrave},      {0xE1, 'a', Accent::kAcute},
    {0xE2, 'a', Accent::kCircumflex}, {0xE3, 'a', Accent::kTilde},
    {0xE4, 'a', Accent::kDiaeresis},  {0xE5, 'a', Accent::kRing},
    {0xE8, 'e', Accent::kGrave},      {0xE9, 'e', Accent::kAcute},
    {0xEA, 'e', Accent::kCircumflex}, {0xEB, 'e', Accent::kDiaeresis},
    {0xF1, 'n', Accent::kTilde},      {0xF2, 'o', Accent::kGrave},
    {0xF3, 'o', Accent::kAcute},      {0xF4, 'o', Accent::kCircumflex},
    {0xF5, 'o', Accent::kTilde},      {0xF6, 'o', Accent::kDiaeresis},
    {0xF9, 'u', Accent::kGrave},      {0xFA, 'u', Accent::kAcute},
    {0xFB, 'u', Accent::kCircumflex}, {0xFC, 'u', Accent::kDiaeresis},
    {0xFF, 'y', Accent::kDiaeresis},
}};

}  // namespace

GlyphArt FontGlyph(const FontArt& font, unsigned char c) {
  if (c >= 'A' && c <= 'Z')
    return {font.capitals[c - 'A']};
  if (c >= 'a' && c <= 'z')
    return {font.small_letters[c - 'a']};
  if (c >= '!' && c <= '/')
    return {font.punctuation1[c - '!']};
  if (c >= ':' && c <= '@')
    return {font.punctuation2[c - ':']};
  if (c >= '[' && c <= '`')
    return {font.punctuation3[c - '[']};
  if (c >= '{' && c <= '~')
    return {font.punctuation4[c - '{']};
  for (const AccentedLetter& letter : kAccentedLetters) {
    if (letter.code == c)
      return {font.small_letters[letter.base - 'a'], letter.accent};
  }
  switch (c) {
    case 0xC6:
      return {font.capital_ae};
    case 0xE6:
      return {font.ae};
    case 0xE7:
      return {font.c_cedilla};
    case 0xEE:
      return {font.i_circumflex};
    case 0xEF:
      return {font.i_diaeresis};
    case 0xF8:
      return {font.o_slash};
    default:
      return {};
  }
}

}  // namespace zcd::skin_gen
