#pragma once

#include "base/bitmap.h"
#include "base/surface.h"

// The main window's furniture around the timer and the text lines. Each
// function draws its own pieces from "widgitset.bmp" and returns nothing the
// caller must remember; the caller holds the surface's lock.
namespace zcd {

struct TitleButtonsPressed {
  bool minimize = false;
  bool close = false;
};
void DrawTitleButtons(Surface& target, TitleButtonsPressed pressed, const Bitmap& widgitset);

// The three PlayType labels, each on or off.
void DrawPlayModes(Surface& target, int play_type, const Bitmap& widgitset);

// The four TimerType pieces.
void DrawTimerModes(Surface& target, int timer_type, const Bitmap& widgitset);

// The captions over the two text lines, painted transparently.
void DrawCaptions(Surface& target, const Bitmap& widgitset);

// The status word of a code over its restored background; an unknown code
// (0 among them) leaves the background bare.
void DrawStatusWord(Surface& target, int code, const Bitmap& widgitset, const Bitmap& body);

}  // namespace zcd
