// The built-in skin drawn by the text and digit painters, compared with
// pictures in tests/golden/. After a deliberate change of the look, review
// the *.actual.bmp files a failing run leaves and rerun with
// ZCD_UPDATE_GOLDEN=1.
#include <gtest/gtest.h>

#include <string>

#include "platform/headless_window_host.h"
#include "skin/blit.h"
#include "skin/builtin_skin.h"
#include "skin/draw_number.h"
#include "skin/text_display.h"
#include "skin/text_strip.h"
#include "support/golden.h"

namespace zcd {
namespace {

const Bitmap& Builtin(SkinFile file) {
  return *BuiltinSkinImage(file);
}

// Every byte from 0x21 to 0xFF, 32 to a line, one line under the other.
Bitmap GlyphSheet(LayoutMode mode) {
  const int line_h = mode == LayoutMode::kFull ? 13 : 10;
  Surface sheet(32 * 9 + 2, 7 * line_h + 2, Rgb(0, 0, 0));
  for (int row = 0; row < 7; ++row) {
    std::string text;
    for (int c = 0x20 + row * 32; c < 0x40 + row * 32; ++c)
      text += static_cast<char>(c == 0x20 ? 0x7F : c);
    const TextStrip strip =
        RenderTextStrip(text, mode, Builtin(SkinFile::kCharset), Builtin(SkinFile::kNumberset));
    PaintPiece(sheet, 1, 2 + row * line_h, {0, 0, strip.width, strip.image.height}, strip.image);
  }
  return test::ToBitmap(sheet);
}

TEST(SkinGoldenTest, GlyphStripsInBothSizes) {
  EXPECT_TRUE(test::MatchesGolden(GlyphSheet(LayoutMode::kFull), "glyphs_full"));
  EXPECT_TRUE(test::MatchesGolden(GlyphSheet(LayoutMode::kShade), "glyphs_shade"));
}

TEST(SkinGoldenTest, DigitPainterInEveryStyle) {
  const Bitmap& numbers = Builtin(SkinFile::kNumberset);
  Surface sheet(14 * 16 + 2, 4 * 16, Rgb(0, 0, 0));
  const int values[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 42, 99, 123, -5, 2026};
  for (int i = 0; i < 16; ++i) {
    const int x = 1 + i * 14;
    DrawNumber(sheet, x, 1, values[i], true, NumberStyle::kLarge, numbers);
    DrawNumber(sheet, x, 17, values[i], false, NumberStyle::kLarge, numbers);
    DrawNumber(sheet, x, 33, values[i] % 100, true, NumberStyle::kSmall, numbers);
    DrawNumber(sheet, x, 49, values[i] % 100, false, NumberStyle::kSmall, numbers);
  }
  EXPECT_TRUE(test::MatchesGolden(test::ToBitmap(sheet), "digits"));
}

// The slot after `ticks` ticks of a line that does not fit.
Bitmap ScrolledSlot(LayoutMode mode, int scrolling, int ticks) {
  Surface window(295, mode == LayoutMode::kFull ? 160 : 17);
  HeadlessWindowHost host(nullptr);
  TextDisplay display(window, host,
                      {BuiltinSkinImage(SkinFile::kCharset), BuiltinSkinImage(SkinFile::kNumberset),
                       BuiltinSkinImage(SkinFile::kBody), BuiltinSkinImage(SkinFile::kWinshade)},
                      mode);
  display.SetNameScrolling(scrolling);
  display.SetLineText(TextLine::kTitleLine,
                      "Ensemble Zentaro / Nocturnes & Preludes (Live at the Old Mill, 1987)");
  for (int i = 0; i < ticks; ++i)
    display.Tick(TextLine::kTitleLine);
  const Rect slot = TextSlot(TextLine::kTitleLine, mode);
  Surface cut(slot.w, slot.h);
  CopyPiece(cut, 0, 0, slot, test::ToBitmap(window));
  return test::ToBitmap(cut);
}

TEST(SkinGoldenTest, ScrolledCompositionInEachMode) {
  // Far enough round that the second copy has come into the slot.
  EXPECT_TRUE(test::MatchesGolden(ScrolledSlot(LayoutMode::kFull, 1, 560), "scroll_full_round"));
  EXPECT_TRUE(test::MatchesGolden(ScrolledSlot(LayoutMode::kShade, 1, 340), "scroll_shade_round"));
  EXPECT_TRUE(test::MatchesGolden(ScrolledSlot(LayoutMode::kFull, 2, 150), "scroll_full_back"));
}

}  // namespace
}  // namespace zcd
