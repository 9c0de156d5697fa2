#pragma once

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/rect.h"
#include "base/surface.h"

namespace zcd {

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
