#include "skin/idle_motion.h"

#include "skin/blit.h"

namespace zcd {
namespace {

constexpr double kMaxZoom = 2.8;
constexpr double kMinZoom = 0.65;

// Keeps value between low and high, turning the velocity round at either end.
void Reflect(double& value, double& velocity, double low, double high) {
  if (value >= high || value <= low) {
    value = value >= high ? high : low;
    velocity = -velocity;
  }
}

}  // namespace

void IdleMotion::Bounce(int w, int h) {
  // Half sizes in whole pixels: the sprite may leave the area by half its size.
  Reflect(x, vx, -(w / 2), kIdleArea.w - w / 2);
  Reflect(y, vy, -(h / 2), kIdleArea.h - h / 2);
  Reflect(z, vz, kMinZoom, kMaxZoom);
}

void IdleMotion::Advance() {
  x += vx;
  y += vy;
  z += vz;
}

Rect IdleMotion::SpriteRect(int w, int h) const {
  const double cx = kIdleArea.w / 2;
  const double cy = kIdleArea.h / 2;
  return {static_cast<int>((x - cx) / z + cx), static_cast<int>((y - cy) / z + cy),
          static_cast<int>(w / z), static_cast<int>(h / z)};
}

void DrawIdleFrame(Surface& frame, const Bitmap& body, const Bitmap& sprite,
                   const IdleMotion& motion) {
  CopyPiece(frame, 0, 0, kIdleArea, body);
  StretchPiece(frame, motion.SpriteRect(sprite.width, sprite.height),
               {0, 0, sprite.width, sprite.height}, sprite, RasterOp::kOr);
}

}  // namespace zcd
