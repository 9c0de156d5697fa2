#include "skin/idle_animation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/headless_window_host.h"
#include "skin/builtin_skin.h"
#include "skin/idle_motion.h"

namespace zcd {
namespace {

TEST(IdleMotionTest, SpriteBouncesWithinHalfItsSizeAndZoomTurnsAtItsLimits) {
  IdleMotion motion;
  bool hit_left = false, hit_right = false, hit_top = false, hit_bottom = false;
  bool hit_near = false, hit_far = false;
  for (int frame = 0; frame < 2000; ++frame) {
    motion.Bounce(81, 62);
    ASSERT_GE(motion.x, -40.0);
    ASSERT_LE(motion.x, 30.0);
    ASSERT_GE(motion.y, -31.0);
    ASSERT_LE(motion.y, 105.0);
    ASSERT_GE(motion.z, 0.65);
    ASSERT_LE(motion.z, 2.8);
    hit_left |= motion.x == -40.0;
    hit_right |= motion.x == 30.0;
    hit_top |= motion.y == -31.0;
    hit_bottom |= motion.y == 105.0;
    hit_near |= motion.z == 0.65;
    hit_far |= motion.z == 2.8;
    motion.Advance();
  }
  EXPECT_TRUE(hit_left && hit_right && hit_top && hit_bottom && hit_near && hit_far);
}

TEST(IdleMotionTest, ZoomPullsTheSpriteTowardsTheAreaCentre) {
  IdleMotion motion;
  motion.x = 10.0;
  motion.y = 20.0;
  EXPECT_EQ(motion.SpriteRect(81, 62), (Rect{10, 20, 81, 62}));
  motion.x = 0.0;
  motion.y = 0.0;
  motion.z = 2.0;
  // (0 - 35) / 2 + 35 = 17.5 and (0 - 68) / 2 + 68 = 34, truncated.
  EXPECT_EQ(motion.SpriteRect(81, 62), (Rect{17, 34, 40, 31}));
}

TEST(IdleMotionTest, FrameIsTheBodyPieceWithTheSpriteOverItBlackLeftOut) {
  Bitmap body(295, 160);
  for (int y = 0; y < body.height; ++y) {
    for (int x = 0; x < body.width; ++x)
      body.At(x, y) = Rgb(x % 256, y, 7);
  }
  Bitmap sprite(2, 1);
  sprite.At(0, 0) = Rgb(0, 0, 0xF0);
  IdleMotion motion;
  motion.x = 5.0;
  motion.y = 6.0;
  Surface frame(kIdleArea.w, kIdleArea.h);
  DrawIdleFrame(frame, body, sprite, motion);
  EXPECT_EQ(frame.At(0, 0), body.At(218, 19));
  EXPECT_EQ(frame.At(69, 135), body.At(287, 154));
  EXPECT_EQ(frame.At(5, 6), body.At(223, 25) | Rgb(0, 0, 0xF0));
  EXPECT_EQ(frame.At(6, 6), body.At(224, 25));  // the sprite's black pixel
}

bool AreaShows(const Surface& surface, const Bitmap& body) {
  std::lock_guard lock(surface.lock());
  for (int y = 0; y < kIdleArea.h; ++y) {
    for (int x = 0; x < kIdleArea.w; ++x) {
      if (surface.At(kIdleArea.x + x, kIdleArea.y + y) != body.At(kIdleArea.x + x, kIdleArea.y + y))
        return false;
    }
  }
  return true;
}

TEST(IdleAnimationTest, DrawsFramesUntilStoppedAndCanStartAgain) {
  Surface surface(295, 160, Rgb(1, 1, 1));
  HeadlessWindowHost host(nullptr);
  IdleAnimation animation(surface, host);
  animation.Start("/nonexistent", "<none>");
  EXPECT_TRUE(animation.running());
  animation.Start("/nonexistent", "<none>");  // already running: no second thread
  for (int i = 0; i < 400 && animation.frames() < 3; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_GE(animation.frames(), 3);
  EXPECT_GE(host.invalidations(), 3);
  // The area shows the body with the sprite somewhere on it; the rest is untouched.
  const Bitmap& body = *BuiltinSkinImage(SkinFile::kBody);
  {
    std::lock_guard lock(surface.lock());
    EXPECT_EQ(surface.At(kIdleArea.x - 1, kIdleArea.y), Rgb(1, 1, 1));
  }
  EXPECT_FALSE(AreaShows(surface, body)) << "the sprite is always at least half inside";

  animation.Stop();
  EXPECT_FALSE(animation.running());
  const long frames = animation.frames();
  std::this_thread::sleep_for(IdleAnimation::kFrameInterval * 3);
  EXPECT_EQ(animation.frames(), frames);

  animation.Start("/nonexistent", "");
  for (int i = 0; i < 400 && animation.frames() == frames; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_GT(animation.frames(), frames);
}

}  // namespace
}  // namespace zcd
