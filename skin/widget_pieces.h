#pragma once

#include <array>

#include "base/rect.h"

// Where the main window's small furniture sits in "widgitset.bmp".
namespace zcd {

inline constexpr Rect kMinimizeUpPiece{110, 0, 11, 11};
inline constexpr Rect kMinimizePressedPiece{122, 0, 11, 11};
inline constexpr Rect kCloseUpPiece{110, 12, 11, 11};
inline constexpr Rect kClosePressedPiece{122, 12, 11, 11};

inline constexpr Rect kTitleCaptionPiece{0, 30, 23, 7};
inline constexpr Rect kTrackCaptionPiece{24, 30, 32, 7};

// Play-mode labels, one row per PlayType bit (1, 2, 4), "on" at x 0 and
// "off" at x 55.
inline constexpr std::array<int, 3> kPlayModeRowY{20, 10, 0};
inline constexpr int kPlayModeOnX = 0;
inline constexpr int kPlayModeOffX = 55;

// Timer-mode pieces in row y 38: the x of each piece while its TimerType
// bit is clear and while it is set.
inline constexpr int kTimerModeRowY = 38;
struct TimerModePiece {
  Rect at;  // in the main window
  int bit;
  int clear_x;
  int set_x;
};
inline constexpr std::array<TimerModePiece, 4> kTimerModePieces{{
    {{116, 26, 25, 9}, 1, 26, 0},
    {{116, 38, 17, 9}, 1, 52, 70},
    {{100, 26, 9, 9}, 2, 98, 88},
    {{100, 38, 9, 9}, 2, 108, 118},
}};

// A status word: one or two pieces of widgitset, 5 pixels high.
struct StatusWordPieces {
  int code;
  Rect first;
  int gap;
  Rect second;  // empty when the word has one piece
};
inline constexpr std::array<StatusWordPieces, 10> kStatusWords{{
    {499, {57, 48, 22, 5}, 2, {93, 60, 34, 5}},
    {501, {40, 60, 35, 5}, 1, {33, 48, 23, 5}},
    {555, {40, 60, 35, 5}, 2, {92, 54, 32, 5}},
    {599, {57, 48, 22, 5}, 2, {40, 60, 52, 5}},
    {666, {47, 54, 11, 5}, 2, {0, 60, 53, 5}},
    {667, {0, 48, 38, 5}, 2, {92, 54, 32, 5}},
    {701, {0, 48, 56, 5}, 0, {}},
    {702, {0, 54, 46, 5}, 0, {}},
    {901, {47, 54, 44, 5}, 0, {}},
    {999, {57, 48, 55, 5}, 0, {}},
}};

}  // namespace zcd
