#include "skin/idle_animation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/headless_window_host.h"
#include "skin/builtin_skin.h"
#include "skin/idle_motion.h"
#include "support/wait.h"

namespace zcd {
namespace {

TEST(IdleMotionTest, SpriteBouncesWithinHalfItsSizeAndZoomTurnsAtItsLimits) {
  IdleMotion motion;
  // Each limit must be reached and never passed.
  const double low[] = {-40.0, -31.0, 0.65};
  const double high[] = {30.0, 105.0, 2.8};
  bool reached_low[3] = {};
  bool reached_high[3] = {};
  for (int frame = 0; frame < 2000; ++frame) {
    motion.Bounce(81, 62);
    const double at[] = {motion.x, motion.y, motion.z};
    for (int i = 0; i < 3; ++i) {
      ASSERT_GE(at[i], low[i]) << i;
      ASSERT_LE(at[i], high[i]) << i;
      reached_low[i] |= at[i] == low[i];
      reached_high[i] |= at[i] == high[i];
    }
    motion.Advance();
  }
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(reached_low[i] && reached_high[i]) << i;
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
  ASSERT_TRUE(test::WaitUntil([&] { return animation.frames() >= 3; }));
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
  EXPECT_TRUE(test::WaitUntil([&] { return animation.frames() > frames; }));
}

}  // namespace
}  // namespace zcd
