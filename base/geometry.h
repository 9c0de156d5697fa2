#pragma once

#include <array>
#include <optional>

#include "base/message.h"
#include "base/rect.h"

// Where everything sits on the player's windows, in skin pixels. The player
// draws and hit-tests with these, and the skin generator paints its pieces
// at the same places, so a piece can never be drawn where it is not seen.
namespace zcd {

// Full mode is the whole player; shade mode is a one-line bar.
enum class LayoutMode { kFull, kShade };

inline constexpr int kMainWidth = 297;
inline constexpr int kMainFullHeight = 162;
inline constexpr int kMainShadeHeight = 19;

inline constexpr int MainHeight(LayoutMode mode) {
  return mode == LayoutMode::kFull ? kMainFullHeight : kMainShadeHeight;
}

// The desktop draws a one-pixel border round the main window; everything
// skinned, child windows included, is placed in the client area inside it.
inline constexpr int kMainBorder = 1;
inline constexpr int kClientWidth = kMainWidth - 2 * kMainBorder;
inline constexpr int ClientHeight(LayoutMode mode) {
  return MainHeight(mode) - 2 * kMainBorder;
}

// --- the main window in full mode ("body.bmp"), client coordinates -------
inline constexpr Rect kBody{0, 0, kClientWidth, kMainFullHeight - 2 * kMainBorder};
inline constexpr Rect kTitleStrip{1, 1, 293, 14};
inline constexpr Rect kMenuHotspot{2, 2, 14, 12};
inline constexpr Rect kMinimizeAt{269, 3, 11, 11};
inline constexpr Rect kCloseAt{283, 3, 11, 11};
// The upper display (timer, indicators, play modes) and the lower one (the
// two text lines, their captions and the status word). The mixer panel
// covers the lower one.
inline constexpr Rect kUpperGlass{9, 20, 205, 33};
inline constexpr Rect kLowerGlass{9, 55, 204, 56};
inline constexpr Rect kTitleSlot{13, 68, 195, 11};
inline constexpr Rect kTrackSlot{13, 94, 195, 11};
inline constexpr Rect kTitleCaptionAt{10, 57, 23, 7};
inline constexpr Rect kTrackCaptionAt{10, 83, 32, 7};
inline constexpr Rect kStatusAt{70, 57, 77, 5};
inline constexpr std::array<int, 4> kTimerDigitX{19, 33, 57, 71};
inline constexpr int kTimerDigitY = 29;
inline constexpr Rect kTimerColon{51, 33, 2, 2};  // and the same 6 rows lower
inline constexpr Rect kTimerModeTrackAt{116, 26, 25, 9};
inline constexpr Rect kTimerModeDiscAt{116, 38, 17, 9};
inline constexpr Rect kTimerModeElapsedAt{100, 26, 9, 9};
inline constexpr Rect kTimerModeRemainingAt{100, 38, 9, 9};
inline constexpr std::array<Rect, 3> kPlayModeAt{
    {{156, 20, 54, 9}, {156, 32, 54, 9}, {156, 44, 54, 9}}};
inline constexpr Rect kSliderAt{12, 112, 196, 10};
inline constexpr Rect kControlStripAt{9, 126, 163, 24};
inline constexpr Rect kVolumeAt{178, 126, 33, 25};
inline constexpr Rect kTrackBoxAt{218, 19, 70, 136};
inline constexpr Rect kTrackArrowsAt{218, 139, 70, 16};
inline constexpr Rect kMixerAt{11, 55, 204, 56};
// The idle sprite bounces through the empty track box.
inline constexpr Rect kIdleArea = kTrackBoxAt;
// Mouse regions: the timer and the display with the two text lines.
inline constexpr Rect kTimerArea{12, 24, 135, 27};
inline constexpr Rect kDisplayArea{6, 53, 204, 56};
// Left presses on the indicators: timer modes (inclusive edges as drawn, so
// the gap x 111..115 takes no press) and the three play-mode labels.
inline constexpr Rect kTimerElapsedHit{100, 27, 11, 10};
inline constexpr Rect kTimerRemainingHit{100, 37, 11, 11};
inline constexpr Rect kTimerTrackHit{116, 27, 27, 10};
inline constexpr Rect kTimerDiscHit{116, 37, 27, 11};
inline constexpr std::array<Rect, 3> kPlayModeHit{
    {{156, 20, 55, 10}, {156, 32, 55, 10}, {156, 44, 55, 10}}};
// The title buttons take presses over one more row than they draw.
inline constexpr Rect kMinimizeHit{269, 3, 11, 12};
inline constexpr Rect kCloseHit{283, 3, 11, 12};
// A double click here opens the disc editor.
inline constexpr Rect kEditorHotspot{9, 56, 206, 52};
// A left press here opens the main menu, at kMainMenuAt.
inline constexpr Rect kMenuCorner{0, 0, 17, 15};
inline constexpr Point kMainMenuAt{5, 15};

// --- the shade bar ("winshade.bmp") -------------------------------------
inline constexpr Rect kShade{0, 0, kClientWidth, kMainShadeHeight - 2 * kMainBorder};
inline constexpr Rect kShadeButtonsAt{20, 3, 81, 12};
inline constexpr Rect kShadeGlass{102, 3, 146, 13};
inline constexpr Rect kShadeSlotAt{103, 4, 113, 11};
inline constexpr std::array<int, 4> kShadeTimerDigitX{220, 226, 236, 242};
inline constexpr int kShadeTimerDigitY = 4;
inline constexpr Rect kShadeTrackAt{250, 2, 16, 13};
inline constexpr Rect kShadeTimerArea{220, 3, 30, 13};
// The piece of "body.bmp" that blanks the shade slot behind its text.
inline constexpr Rect kShadeBlankPiece{100, 100, 113, 11};

// Where a child window sits in each layout; none in shade mode means hidden there.
struct ChildPlacement {
  WindowId id;
  Rect full;
  std::optional<Rect> shade;
  bool shown_at_start;
};

inline constexpr ChildPlacement kChildPlacements[] = {
    {WindowId::kControls, kControlStripAt, kShadeButtonsAt, true},
    {WindowId::kTracks, kTrackBoxAt, kShadeTrackAt, false},
    {WindowId::kSlider, kSliderAt, std::nullopt, true},
    {WindowId::kMixer, kMixerAt, std::nullopt, false},
    {WindowId::kVolume, kVolumeAt, std::nullopt, true},
};

// --- mixer panel and volume bar (their own pixels) ----------------------
// The panel is drawn on the piece of "body.bmp" it covers, kMixerAt.
// The volume bar: the button that shows the panel above the CD-volume bar.
inline constexpr Rect kVolumeTopAt{0, 0, 33, 15};
inline constexpr Rect kVolumeBarAt{0, 15, 33, 10};
// A press on these rows of the top shows or hides the panel.
inline constexpr int kVolumeToggleFirstRow = 1;
inline constexpr int kVolumeToggleLastRow = 11;
// Presses from this row down drag the thumb, which sits on it.
inline constexpr int kVolumeThumbY = 16;
// The thumb's left edge covers x 1..28 over the CD volume's range; a drag
// reads the mouse's x over 1..29.
inline constexpr int kVolumeThumbTravel = 27;
inline constexpr int kVolumeDragFirstX = 1;
inline constexpr int kVolumeDragLastX = 29;
// --- track box ----------------------------------------------------------
// Inside the box's own window. In full mode the grid shows through the view
// at the top and the scroll arrows sit in the strip below it.
inline constexpr Rect kTrackViewFull{0, 0, 70, 120};
inline constexpr Rect kTrackArrowStrip{0, 120, 70, 16};
inline constexpr Rect kTrackArrowUpAt{4, 122, 32, 10};
inline constexpr Rect kTrackArrowDownAt{36, 122, 32, 10};
// Where a press counts as an arrow: the two halves of rows 122 to 133.
inline constexpr Rect kTrackArrowUpHit{4, 122, 33, 12};
inline constexpr Rect kTrackArrowDownHit{37, 122, 33, 12};

}  // namespace zcd
