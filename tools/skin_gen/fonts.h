#pragma once

#include <span>
#include <string_view>

#include "tools/skin_gen/canvas.h"

// The built-in skin's pixel fonts, drawn for ZCD. Each glyph is pixel art in
// rows separated by blanks ('#' lit, '.' dark), row 0 at the top of its cell.
namespace zcd::skin_gen {

// Accents drawn over a base letter of the Western code page's lower case.
enum class Accent { kNone, kGrave, kAcute, kCircumflex, kTilde, kDiaeresis, kRing };

// A glyph as a base picture plus an optional accent; `accent_x` is the accent's
// left column in the cell.
struct GlyphArt {
  std::string_view rows;
  Accent accent = Accent::kNone;
  int accent_x = 0;
};

// The pictures of one pixel font; both sizes map characters onto them alike.
struct FontArt {
  std::span<const std::string_view, 26> capitals;
  std::span<const std::string_view, 26> small_letters;
  std::span<const std::string_view, 15> punctuation1;  // "!" to "/"
  std::span<const std::string_view, 7> punctuation2;   // ":" to "@"
  std::span<const std::string_view, 6> punctuation3;   // "[" to "`"
  std::span<const std::string_view, 4> punctuation4;   // "{" to "~"
  std::string_view ae;
  std::string_view c_cedilla;
  std::string_view i_circumflex;
  std::string_view i_diaeresis;
  std::string_view o_slash;
  std::string_view capital_ae;  // empty when the size has no such glyph
};

// The picture of byte c of the Western code page in `font`; empty rows for
// a byte the font does not draw.
GlyphArt FontGlyph(const FontArt& font, unsigned char c);

// Full size: 7 x 11 cells, capitals on rows 0..8, descenders on 9..10.
GlyphArt FullGlyph(unsigned char c);
std::string_view FullAccent(Accent accent);

// Small size (shade mode): 5 x 8 cells, capitals on rows 0..5, descenders 6..7.
GlyphArt SmallGlyph(unsigned char c);
std::string_view SmallAccent(Accent accent);

// The 5-pixel-high label font of the status words, captions and indicators;
// also '/', and '@' stands for a mail envelope.
std::string_view TinyGlyph(char c);
// Pixel width of a text in the tiny font: glyph widths plus one pixel between
// glyphs and `word_space` for a blank.
int TinyTextWidth(std::string_view text, int word_space = 3);

// Digits: large 10 x 13, medium 6 x 9, tiny 4 x 6.
std::string_view LargeDigit(int digit);
std::string_view MediumDigit(int digit);
std::string_view TinyDigit(int digit);

}  // namespace zcd::skin_gen
