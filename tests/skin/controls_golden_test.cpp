// The main window's furniture and controls drawn from the built-in skin,
// compared with pictures in tests/golden/ (ZCD_UPDATE_GOLDEN=1 renews them
// after a deliberate change of the look).
#include <gtest/gtest.h>

#include "platform/headless_window_host.h"
#include "skin/blit.h"
#include "skin/control_strip.h"
#include "skin/indicators.h"
#include "skin/position_slider.h"
#include "skin/skin_set.h"
#include "skin/widget_pieces.h"
#include "support/golden.h"

namespace zcd {
namespace {

// Stacks pictures of the same width, one under the other with a gap.
class Sheet {
 public:
  Sheet(int width, int rows, int row_height)
      : surface_(width, rows * (row_height + 2), Rgb(40, 0, 40)), row_height_(row_height) {}
  void Add(const Surface& part) {
    CopySurface(surface_, {0, next_ * (row_height_ + 2), part.width(), part.height()}, part);
    ++next_;
  }
  Bitmap image() const { return test::ToBitmap(surface_); }

 private:
  Surface surface_;
  int row_height_;
  int next_ = 0;
};

TEST(ControlsGoldenTest, StatusWordsOneToARow) {
  const SkinSet skin = LoadSkin("", "");
  Sheet sheet(kStatusAt.w, static_cast<int>(kStatusWords.size()) + 1, kStatusAt.h);
  for (int code : {0, 499, 501, 555, 599, 666, 667, 701, 702, 901, 999}) {
    Surface window(kClientWidth, ClientHeight(LayoutMode::kFull));
    DrawStatusWord(window, code, skin[SkinFile::kWidgitset], skin[SkinFile::kBody]);
    Surface word(kStatusAt.w, kStatusAt.h);
    CopyPiece(word, 0, 0, kStatusAt, test::ToBitmap(window));
    sheet.Add(word);
  }
  EXPECT_TRUE(test::MatchesGolden(sheet.image(), "status_words"));
}

// The upper display for each TimerType with PlayType 1, 2, 4 and 5.
TEST(ControlsGoldenTest, TimerAndPlayModeIndicators) {
  const SkinSet skin = LoadSkin("", "");
  Sheet sheet(kUpperGlass.w, 4, kUpperGlass.h);
  const int play_types[] = {1, 2, 4, 5};
  for (int timer_type = 0; timer_type < 4; ++timer_type) {
    Surface window(kClientWidth, ClientHeight(LayoutMode::kFull));
    CopyBitmap(window, 0, 0, skin[SkinFile::kBody]);
    DrawTimerModes(window, timer_type, skin[SkinFile::kWidgitset]);
    DrawPlayModes(window, play_types[timer_type], skin[SkinFile::kWidgitset]);
    Surface glass(kUpperGlass.w, kUpperGlass.h);
    CopyPiece(glass, 0, 0, kUpperGlass, test::ToBitmap(window));
    sheet.Add(glass);
  }
  EXPECT_TRUE(test::MatchesGolden(sheet.image(), "mode_indicators"));
}

TEST(ControlsGoldenTest, SliderAtStartMiddleAndEnd) {
  const SkinSet skin = LoadSkin("", "");
  const int track_click = 1;
  PositionSlider slider(skin, track_click, {[] { return false; }, [] { return 0; }, {}, {}, {}});
  HeadlessWindowHost host(&slider, kSliderAt);
  slider.Attach(host);
  slider.SetLayout(LayoutMode::kFull, kSliderAt);
  Sheet sheet(kSliderAt.w, 3, kSliderAt.h);
  for (int percent : {0, 50, 100}) {
    slider.Update(percent, true);
    sheet.Add(slider.surface());
  }
  EXPECT_TRUE(test::MatchesGolden(sheet.image(), "slider"));
}

// Normal; Play hovered and Stop pressed; Pause blinking and pressed; the
// bar's half-size strip.
TEST(ControlsGoldenTest, TransportStripStates) {
  const SkinSet skin = LoadSkin("", "");
  ControlStrip strip(skin, {});
  HeadlessWindowHost host(&strip, kControlStripAt);
  strip.Attach(host);
  strip.SetLayout(LayoutMode::kFull, kControlStripAt);
  strip.Repaint();
  Sheet sheet(kControlStripAt.w, 4, kControlStripAt.h);
  sheet.Add(strip.surface());
  const auto at = [&](int index) {
    const StripButton& b = strip.buttons()[index];
    return Point{b.x + 3, 3};
  };
  strip.OnMouse({MouseAction::kMove, MouseButton::kLeft, at(5), {}, false});
  strip.OnMouse({MouseAction::kPress, MouseButton::kLeft, at(3), {}, false});
  sheet.Add(strip.surface());
  strip.OnMouse({MouseAction::kRelease, MouseButton::kLeft, {300, 3}, {}, false});
  strip.SetPaused(true);
  host.FireTimer(kPauseBlinkTimer);
  strip.OnMouse({MouseAction::kPress, MouseButton::kLeft, at(4), {}, false});
  sheet.Add(strip.surface());
  strip.OnMouse({MouseAction::kRelease, MouseButton::kLeft, {300, 3}, {}, false});
  strip.SetPaused(false);
  strip.SetLayout(LayoutMode::kShade, kShadeButtonsAt);
  strip.Repaint();
  sheet.Add(strip.surface());
  EXPECT_TRUE(test::MatchesGolden(sheet.image(), "transport_strip"));
}

}  // namespace
}  // namespace zcd
