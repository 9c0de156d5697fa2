#pragma once

#include <optional>

#include "app/message.h"
#include "skin/rect.h"

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

// Where a child window sits in each layout; none in shade mode means hidden there.
struct ChildPlacement {
  WindowId id;
  Rect full;
  std::optional<Rect> shade;
  bool shown_at_start;
};

inline constexpr ChildPlacement kChildPlacements[] = {
    {WindowId::kControls, {9, 126, 163, 24}, Rect{20, 3, 81, 12}, true},
    {WindowId::kTracks, {218, 19, 70, 136}, Rect{250, 2, 16, 13}, false},
    {WindowId::kSlider, {12, 112, 196, 10}, std::nullopt, true},
    {WindowId::kMixer, {11, 55, 204, 56}, std::nullopt, false},
    {WindowId::kVolume, {178, 126, 33, 25}, std::nullopt, true},
};

}  // namespace zcd
