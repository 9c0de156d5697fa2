#include <array>

#include "tools/skin_gen/fonts.h"

namespace zcd::skin_gen {
namespace {

// Capitals, rows 0..5.
constexpr std::array<std::string_view, 26> kCapitals{
    ".##. #..# #..# #### #..# #..#",        // A
    "###. #..# ###. #..# #..# ###.",        // B
    ".### #... #... #... #... .###",        // C
    "###. #..# #..# #..# #..# ###.",        // D
    "#### #... ###. #... #... ####",        // E
    "#### #... ###. #... #... #...",        // F
    ".### #... #.## #..# #..# .###",        // G
    "#..# #..# #### #..# #..# #..#",        // H
    ".### ..#. ..#. ..#. ..#. .###",        // I
    "..## ...# ...# ...# #..# .##.",        // J
    "#..# #.#. ##.. #.#. #..# #..#",        // K
    "#... #... #... #... #... ####",        // L
    "#...# ##.## #.#.# #...# #...# #...#",  // M
    "#..# ##.# #.## #..# #..# #..#",        // N
    ".##. #..# #..# #..# #..# .##.",        // O
    "###. #..# #..# ###. #... #...",        // P
    ".##. #..# #..# #..# #.#. .#.#",        // Q
    "###. #..# #..# ###. #.#. #..#",        // R
    ".### #... .##. ...# ...# ###.",        // S
    "##### ..#.. ..#.. ..#.. ..#.. ..#..",  // T
    "#..# #..# #..# #..# #..# .##.",        // U
    "#...# #...# #...# .#.#. .#.#. ..#..",  // V
    "#...# #...# #.#.# #.#.# ##.## #...#",  // W
    "#..# #..# .##. .##. #..# #..#",        // X
    "#...# #...# .#.#. ..#.. ..#.. ..#..",  // Y
    "#### ...# ..#. .#.. #... ####",        // Z
};

// Lower case: ascenders from row 0, x-height rows 2..5, descenders 6..7.
constexpr std::array<std::string_view, 26> kSmallLetters{
    ". . .### #..# #..# .###",               // a
    "#... #... ###. #..# #..# ###.",         // b
    ". . .### #... #... .###",               // c
    "...# ...# .### #..# #..# .###",         // d
    ". . .##. #### #... .###",               // e
    "..## .#.. ###. .#.. .#.. .#..",         // f
    ". . .### #..# #..# .### ...# .##.",     // g
    "#... #... ###. #..# #..# #..#",         // h
    "..#. . .##. ..#. ..#. .###",            // i
    "...# . ..## ...# ...# ...# #..# .##.",  // j
    "#... #... #.#. ##.. #.#. #..#",         // k
    ".##. ..#. ..#. ..#. ..#. .###",         // l
    ". . ####. #.#.# #.#.# #.#.#",           // m
    ". . ###. #..# #..# #..#",               // n
    ". . .##. #..# #..# .##.",               // o
    ". . ###. #..# #..# ###. #... #...",     // p
    ". . .### #..# #..# .### ...# ...#",     // q
    ". . #.## ##.. #... #...",               // r
    ". . .### ##.. ..## ###.",               // s
    ".#.. .#.. ###. .#.. .#.. ..##",         // t
    ". . #..# #..# #..# .###",               // u
    ". . #...# #...# .#.#. ..#..",           // v
    ". . #...# #.#.# #.#.# .#.#.",           // w
    ". . #..# .##. .##. #..#",               // x
    ". . #..# #..# #..# .### ...# .##.",     // y
    ". . #### ..#. .#.. ####",               // z
};

constexpr std::string_view kICircumflex = ".#.# . .##. ..#. ..#. .###";
constexpr std::string_view kIDiaeresis = "#..# . .##. ..#. ..#. .###";
constexpr std::string_view kAe = ". . ##.#. ..### ####. ##.##";
constexpr std::string_view kCCedilla = ". . .### #... #... .### ..#. .##.";
constexpr std::string_view kOSlash = ". . .### #.## ##.# ###.";

constexpr std::array<std::string_view, 15> kPunctuation1{
    "..#. ..#. ..#. ..#. . ..#.",           // !
    ".#.# .#.#",                            // "
    ".#.#. ##### .#.#. ##### .#.#.",        // #
    "..#. .### #.#. .##. ..## ###. .#..",   // $
    "##..# ##.#. ..#.. .#.## #..##",        // %
    ".#... #.#.. .#... #.#.# #..#. .##.#",  // &
    "#. #.",                                // '
    "..#. .#.. .#.. .#.. .#.. ..#.",        // (
    ".#.. ..#. ..#. ..#. ..#. .#..",        // )
    ". #.#.# .###. #.#.#",                  // *
    ". ..#.. ..#.. ##### ..#.. ..#..",      // +
    ". . . . .#. .#. #..",                  // ,
    ". . . ####",                           // -
    ". . . . . .#.",                        // .
    "...# ...# ..#. .#.. #... #...",        // /
};
constexpr std::array<std::string_view, 7> kPunctuation2{
    ". .#. . . .#.",                              // :
    ". .#. . . .#. #..",                          // ;
    ". ..#. .#.. #... .#.. ..#.",                 // <
    ". . #### . ####",                            // =
    ". #... .#.. ..#. .#.. #...",                 // >
    ".##. #..# ..#. .#.. . .#..",                 // ?
    ".###. #...# #.### #.#.# #.### #.... .####",  // @
};
constexpr std::array<std::string_view, 6> kPunctuation3{
    ".##. .#.. .#.. .#.. .#.. .##.",  // [
    "#... #... .#.. ..#. ...# ...#",  // backslash
    ".##. ..#. ..#. ..#. ..#. .##.",  // ]
    ".#. #.#",                        // ^
    ". . . . . . . #####",            // _
    "#. .#",                          // `
};
constexpr std::array<std::string_view, 4> kPunctuation4{
    "..## .#.. .#.. #... .#.. .#.. ..##",  // {
    "..#. ..#. ..#. ..#. ..#. ..#. ..#.",  // |
    "##.. ..#. ..#. ...# ..#. ..#. ##..",  // }
    ". . .#.# #.#.",                       // ~
};

}  // namespace

std::string_view SmallAccent(Accent accent) {
  switch (accent) {
    case Accent::kGrave:
      return ".#.. ..#.";
    case Accent::kAcute:
      return "..#. .#..";
    case Accent::kCircumflex:
      return ".##. #..#";
    case Accent::kTilde:
      return ".#.# #.#.";
    case Accent::kDiaeresis:
      return "#..#";
    case Accent::kRing:
      return ".##. .##.";
    case Accent::kNone:
      break;
  }
  return {};
}

GlyphArt SmallGlyph(unsigned char c) {
  if (c >= 'A' && c <= 'Z')
    return {kCapitals[c - 'A']};
  if (c >= 'a' && c <= 'z')
    return {kSmallLetters[c - 'a']};
  if (c >= '!' && c <= '/')
    return {kPunctuation1[c - '!']};
  if (c >= ':' && c <= '@')
    return {kPunctuation2[c - ':']};
  if (c >= '[' && c <= '`')
    return {kPunctuation3[c - '[']};
  if (c >= '{' && c <= '~')
    return {kPunctuation4[c - '{']};
  const std::string_view a = kSmallLetters['a' - 'a'];
  const std::string_view e = kSmallLetters['e' - 'a'];
  const std::string_view o = kSmallLetters['o' - 'a'];
  const std::string_view u = kSmallLetters['u' - 'a'];
  switch (c) {
    case 0xE0:
      return {a, Accent::kGrave};
    case 0xE1:
      return {a, Accent::kAcute};
    case 0xE2:
      return {a, Accent::kCircumflex};
    case 0xE3:
      return {a, Accent::kTilde};
    case 0xE4:
      return {a, Accent::kDiaeresis};
    case 0xE5:
      return {a, Accent::kRing};
    case 0xE6:
      return {kAe};
    case 0xE7:
      return {kCCedilla};
    case 0xE8:
      return {e, Accent::kGrave};
    case 0xE9:
      return {e, Accent::kAcute};
    case 0xEA:
      return {e, Accent::kCircumflex};
    case 0xEB:
      return {e, Accent::kDiaeresis};
    case 0xEE:
      return {kICircumflex};
    case 0xEF:
      return {kIDiaeresis};
    case 0xF1:
      return {kSmallLetters['n' - 'a'], Accent::kTilde};
    case 0xF2:
      return {o, Accent::kGrave};
    case 0xF3:
      return {o, Accent::kAcute};
    case 0xF4:
      return {o, Accent::kCircumflex};
    case 0xF5:
      return {o, Accent::kTilde};
    case 0xF6:
      return {o, Accent::kDiaeresis};
    case 0xF8:
      return {kOSlash};
    case 0xF9:
      return {u, Accent::kGrave};
    case 0xFA:
      return {u, Accent::kAcute};
    case 0xFB:
      return {u, Accent::kCircumflex};
    case 0xFC:
      return {u, Accent::kDiaeresis};
    case 0xFF:
      return {kSmallLetters['y' - 'a'], Accent::kDiaeresis};
    default:
      return {};
  }
}

}  // namespace zcd::skin_gen
