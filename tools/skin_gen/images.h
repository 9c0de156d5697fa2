#pragma once

#include "base/bitmap.h"

// One function per file of the built-in skin, each returning the image at its
// built-in size.
namespace zcd::skin_gen {

Bitmap MakeCharset();
Bitmap MakeNumberset();
Bitmap MakeWidgitset();
Bitmap MakeButtonset();
Bitmap MakeTrackset();
Bitmap MakeSlider();
Bitmap MakeMixerset();
Bitmap MakeMenugraphic();
Bitmap MakeZgraphic();
// The body and the shade bar show some of the other pieces in their resting
// state, so they are drawn from them.
Bitmap MakeBody(const Bitmap& widgitset, const Bitmap& slider);
Bitmap MakeWinshade(const Bitmap& widgitset);

}  // namespace zcd::skin_gen
