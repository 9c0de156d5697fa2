#pragma once

#include "skin/bitmap.h"
#include "skin/rect.h"
#include "skin/surface.h"

namespace zcd {

// The track-box area the idle sprite bounces through, in "body.bmp".
inline constexpr Rect kIdleArea{218, 19, 70, 136};

// Where the bouncing, zooming sprite is. Positions are of the unzoomed sprite;
// the zoom pulls it towards the area's centre.
struct IdleMotion {
  double x = 0.0;
  double y = 0.0;
  double z = 1.0;
  double vx = 1.2;
  double vy = 1.5;
  double vz = 0.02;

  // Turns back at the walls for a sprite of w x h pixels.
  void Bounce(int w, int h);
  void Advance();
  // The rectangle the sprite is stretched into, in the area's pixels.
  Rect SpriteRect(int w, int h) const;
};

// One frame: the area's background from `body`, the sprite ORed over it.
void DrawIdleFrame(Surface& frame, const Bitmap& body, const Bitmap& sprite,
                   const IdleMotion& motion);

}  // namespace zcd
