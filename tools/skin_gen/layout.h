#pragma once

#include <array>

#include "base/geometry.h"
#include "base/rect.h"
#include "skin/menu_banner.h"

// Where the player takes its pieces from in each skin bitmap. Where the
// main window shows them is the player's own geometry (base/geometry.h).
namespace zcd::skin_gen::layout {

// --- widgitset.bmp ------------------------------------------------------
inline constexpr Rect kMinimizeUp{110, 0, 11, 11};
inline constexpr Rect kMinimizeDown{122, 0, 11, 11};
inline constexpr Rect kCloseUp{110, 12, 11, 11};
inline constexpr Rect kCloseDown{122, 12, 11, 11};
inline constexpr int kPlayModeW = 54;
inline constexpr int kPlayModeH = 9;
inline constexpr int kPlayModeOnX = 0;
inline constexpr int kPlayModeOffX = 55;
// PlayType bit 1 repeat all, 2 repeat track, 4 shuffle.
inline constexpr int kRepeatAllRowY = 20;
inline constexpr int kRepeatOneRowY = 10;
inline constexpr int kShuffleRowY = 0;
inline constexpr Rect kTitleCaption{0, 30, 23, 7};
inline constexpr Rect kTrackCaption{24, 30, 32, 7};
inline constexpr int kTimerModeRowY = 38;
inline constexpr Rect kTrackModeOff{0, 38, 25, 9};
inline constexpr Rect kTrackModeOn{26, 38, 25, 9};
inline constexpr Rect kDiscModeOff{52, 38, 17, 9};
inline constexpr Rect kDiscModeOn{70, 38, 17, 9};
inline constexpr Rect kElapsedOff{88, 38, 9, 9};
inline constexpr Rect kElapsedOn{98, 38, 9, 9};
inline constexpr Rect kRemainingOff{108, 38, 9, 9};
inline constexpr Rect kRemainingOn{118, 38, 9, 9};

// --- buttonset.bmp ------------------------------------------------------
struct ButtonRow {
  int y;
  int w;
};
inline constexpr std::array<ButtonRow, 6> kButtonRows{
    {{0, 29}, {25, 25}, {50, 25}, {75, 25}, {100, 25}, {125, 29}}};
inline constexpr int kButtonH = 24;
// Column stride is the button width plus one.
inline constexpr int kButtonStates = 4;

// --- trackset.bmp -------------------------------------------------------
inline constexpr int kCellSize = 21;
inline constexpr Rect kCellLit{0, 0, 21, 21};
inline constexpr Rect kCellNormal{22, 0, 21, 21};
inline constexpr Rect kCellLitHeld{44, 0, 21, 21};
inline constexpr Rect kCellHeld{66, 0, 21, 21};
inline constexpr Rect kOverlayRemoved{88, 0, 21, 21};
inline constexpr Rect kOverlayData{110, 0, 21, 21};
inline constexpr Rect kOverlayCopy{132, 0, 21, 21};
inline constexpr Rect kArrowUp{0, 22, 32, 10};
inline constexpr Rect kArrowUpPressed{0, 33, 32, 10};
inline constexpr Rect kArrowUpDisabled{66, 22, 32, 10};
inline constexpr Rect kArrowDown{33, 22, 32, 10};
inline constexpr Rect kArrowDownPressed{33, 33, 32, 10};
inline constexpr Rect kArrowDownDisabled{66, 33, 32, 10};
inline constexpr Rect kShadeCellLit{99, 22, 16, 13};
inline constexpr Rect kShadeCellLitHeld{116, 22, 16, 13};
inline constexpr Rect kShadeCellNormal{133, 22, 16, 13};
inline constexpr Rect kShadeCellHeld{150, 22, 16, 13};
// Where the track box puts the arrows inside its window.
inline constexpr Rect kArrowUpInBox{4, 122, 32, 10};
inline constexpr Rect kArrowDownInBox{36, 122, 32, 10};

// --- slider.bmp ---------------------------------------------------------
inline constexpr Rect kGroove{0, 0, 196, 10};
inline constexpr Rect kThumb{197, 0, 30, 10};

// --- mixerset.bmp -------------------------------------------------------
inline constexpr Rect kMasterFace{0, 0, 61, 28};
inline constexpr Rect kCdVolumeFace{0, 28, 61, 28};
inline constexpr Rect kTrebleFace{62, 0, 61, 28};
inline constexpr Rect kBassFace{62, 28, 61, 28};
inline constexpr Rect kBalanceFace{124, 0, 61, 56};
inline constexpr Rect kKnobPointer{221, 0, 13, 13};
inline constexpr Rect kKnobPointerMask{221, 14, 13, 13};
inline constexpr Rect kVolumeTopHidden{186, 0, 33, 15};
inline constexpr Rect kVolumeBarHidden{186, 15, 33, 10};
inline constexpr Rect kVolumeTopShown{186, 26, 33, 15};
inline constexpr Rect kVolumeBarShown{186, 41, 33, 10};
inline constexpr Rect kVolumeThumb{221, 28, 5, 9};
inline constexpr Rect kVolumeThumbMask{221, 38, 5, 9};

// --- menugraphic.bmp ----------------------------------------------------
inline constexpr Rect kBannerLong = kMenuBannerTall;
inline constexpr Rect kBannerShort = kMenuBannerShort;
inline constexpr Rect kBannerFiller = kMenuBannerFiller;

}  // namespace zcd::skin_gen::layout
