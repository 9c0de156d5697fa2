#include "skin/text_display.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless_window_host.h"
#include "skin/scroll_thread.h"
#include "support/wait.h"

namespace zcd {
namespace {

constexpr TextLine kTitle = TextLine::kTitleLine;
constexpr TextLine kTrack = TextLine::kTrackLine;
constexpr LayoutMode kShade = LayoutMode::kShade;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
// 20 letters of 9 and 3 spaces of 5 pixels; one more pixel makes it scroll.
const std::string kFits195 = std::string(20, 'A') + "   ";
const std::string kWide196 = std::string(19, 'A') + "     ";

// Every background pixel tells its place; the shade bar's are bluer.
uint32_t Body(int x, int y, uint32_t blue = 50) {
  return Rgb(x % 256, y, blue);
}
uint32_t Winshade(int x, int y) {
  return Body(x, y, 150);
}

std::shared_ptr<const Bitmap> Make(int w, int h, uint32_t blue) {
  auto bitmap = std::make_shared<Bitmap>(w, h, kWhite);
  for (int y = 0; blue != 0 && y < h; ++y) {
    for (int x = 0; x < w; ++x)
      bitmap->At(x, y) = Body(x, y, blue);
  }
  return bitmap;
}

// Every glyph is a solid white block.
TextSkin Skin(uint32_t body_blue = 50) {
  return {Make(256, 132, 0), Make(128, 40, 0), Make(kMainWidth, kMainFullHeight, body_blue),
          Make(kMainWidth, kMainShadeHeight, 150)};
}

struct RecordingHost : HeadlessWindowHost {
  RecordingHost() : HeadlessWindowHost(nullptr) {}
  void Invalidate(const Rect& rect) override {
    HeadlessWindowHost::Invalidate(rect);
    std::lock_guard guard(mutex);
    rects.push_back(rect);
  }
  std::mutex mutex;
  std::vector<Rect> rects;
};

class TextDisplayTest : public ::testing::Test {
 protected:
  uint32_t Pixel(TextLine line, int x, LayoutMode mode = LayoutMode::kFull) const {
    const Rect slot = TextSlot(line, mode);
    std::lock_guard lock(surface_.lock());  // scroller threads may be drawing
    return surface_.At(slot.x + x, slot.y);
  }
  // The slot holds nothing but its full-mode background.
  bool SlotIsBody(TextLine line) const {
    const Rect slot = TextSlot(line, LayoutMode::kFull);
    for (int y = slot.y; y < slot.y + slot.h; ++y) {
      for (int x = slot.x; x < slot.x + slot.w; ++x) {
        if (surface_.At(x, y) != Body(x, y))
          return false;
      }
    }
    return true;
  }

  Surface surface_{kMainWidth, kMainFullHeight};
  RecordingHost host_;
  TextDisplay display_{surface_, host_, Skin()};
};

TEST_F(TextDisplayTest, TextThatFitsIsDrawnOnceThenIdleTicksDrawNothing) {
  display_.SetLineText(kTitle, kFits195);
  EXPECT_TRUE(display_.Tick(kTitle));
  EXPECT_EQ(host_.rects, (std::vector<Rect>{{13, 68, 195, 11}}));
  EXPECT_EQ(Pixel(kTitle, 0), kWhite);
  EXPECT_EQ(Pixel(kTitle, 7), Body(20, 68));
  surface_.Fill({13, 68, 195, 11}, Rgb(1, 2, 3));
  for (int i = 0; i < 3; ++i)
    EXPECT_FALSE(display_.Tick(kTitle));
  EXPECT_EQ(host_.invalidations(), 1);
  EXPECT_EQ(Pixel(kTitle, 0), Rgb(1, 2, 3));
}

TEST_F(TextDisplayTest, OnePixelTooWideScrollsEveryTickAndShowsTheSecondCopyAfterTheGap) {
  display_.SetLineText(kTrack, kWide196);
  EXPECT_TRUE(display_.Tick(kTrack));
  EXPECT_EQ(Pixel(kTrack, 6), kWhite);
  EXPECT_TRUE(display_.Tick(kTrack));
  EXPECT_EQ(Pixel(kTrack, 6), Body(19, 94));
  EXPECT_EQ(host_.rects.back(), (Rect{13, 94, 195, 11}));
  EXPECT_EQ(display_.ScrollPosition(kTrack), 2);
  for (int i = 2; i <= 200; ++i)
    EXPECT_TRUE(display_.Tick(kTrack));
  // Drawn at position 200: the strip is gone, its copy starts at 196 - 200 + 113.
  EXPECT_EQ(Pixel(kTrack, 0), Body(13, 94));
  EXPECT_EQ(Pixel(kTrack, 108), Body(121, 94));
  EXPECT_EQ(Pixel(kTrack, 109), kWhite);
}

TEST_F(TextDisplayTest, EmptyTextShowsOnlyBackgroundAndAbsentTextBlanksOnce) {
  for (const auto& [line, text] :
       {std::pair<TextLine, std::optional<std::string>>{kTitle, ""}, {kTrack, std::nullopt}}) {
    display_.SetLineText(line, "AAA");
    display_.Tick(line);
    display_.SetLineText(line, text);
    EXPECT_TRUE(display_.Tick(line));
    EXPECT_TRUE(SlotIsBody(line));
  }
  EXPECT_FALSE(display_.Tick(kTrack));
}

TEST_F(TextDisplayTest, OnlyANewTextOrANewSkinRedraws) {
  display_.SetLineText(kTitle, "AAA");
  display_.Tick(kTitle);
  display_.SetLineText(kTitle, "AAA");
  EXPECT_FALSE(display_.Tick(kTitle));
  display_.SetLineText(kTitle, "AAB");
  EXPECT_TRUE(display_.Tick(kTitle));
  display_.SetSkin(Skin(90));
  EXPECT_TRUE(display_.Tick(kTitle));
  EXPECT_EQ(Pixel(kTitle, 25), Body(38, 68, 90));
}

TEST_F(TextDisplayTest, ShadeSlotSwitchesLinesWithoutStalePixels) {
  display_.SetLayout(kShade);
  display_.SetShadeLineChoice(kTrack);
  display_.SetLineText(kTitle, "A");
  display_.SetLineText(kTrack, "AAAAA");
  EXPECT_TRUE(display_.Tick(kTitle));
  EXPECT_EQ(host_.rects.back(), (Rect{103, 4, 113, 11}));
  EXPECT_EQ(surface_.At(110, 6), Body(107, 102));
  EXPECT_TRUE(display_.Tick(kTrack));
  EXPECT_EQ(Pixel(kTrack, 6, kShade), kWhite);
  EXPECT_EQ(Pixel(kTrack, 5, kShade), Winshade(108, 5));

  display_.SetShadeLineChoice(kTitle);
  EXPECT_TRUE(display_.Tick(kTrack));  // blanks and hands the slot over
  EXPECT_TRUE(display_.Tick(kTitle));
  EXPECT_EQ(Pixel(kTitle, 0, kShade), kWhite);
  EXPECT_EQ(Pixel(kTitle, 6, kShade), Winshade(109, 5));

  // The track has nothing new, so only the title's hand-over makes it draw.
  display_.SetShadeLineChoice(kTrack);
  EXPECT_TRUE(display_.Tick(kTitle));
  EXPECT_TRUE(display_.Tick(kTrack));
  EXPECT_EQ(Pixel(kTrack, 6, kShade), kWhite);
}

TEST_F(TextDisplayTest, LayoutSwitchResetsPositionsAndRedrawsBothLines) {
  display_.SetLineText(kTitle, kWide196);
  display_.SetLineText(kTrack, "AB");
  for (int i = 0; i < 5; ++i)
    display_.Tick(kTitle);
  display_.Tick(kTrack);
  EXPECT_EQ(Pixel(kTitle, 3), Body(16, 68));  // drawn from position 4

  display_.SetLayout(kShade);
  EXPECT_TRUE(display_.Tick(kTitle));
  EXPECT_EQ(Pixel(kTitle, 3, kShade), kWhite);
  EXPECT_TRUE(display_.Tick(kTrack));  // blanks: the slot shows the title
  display_.SetLayout(LayoutMode::kFull);
  EXPECT_TRUE(display_.Tick(kTitle));
  EXPECT_EQ(Pixel(kTitle, 3), kWhite);
  EXPECT_TRUE(display_.Tick(kTrack));
  EXPECT_EQ(Pixel(kTrack, 0), kWhite);
}

TEST_F(TextDisplayTest, ThreadsShowTextSetFromAnotherThreadAndStop) {
  {
    ScrollThread title(display_, kTitle);
    ScrollThread track(display_, kTrack);
    std::thread writer([this] {
      display_.SetLineText(kTitle, "AB");
      display_.SetLineText(kTrack, kWide196);
    });
    writer.join();
    // Each scroller drew its new text: the title's first glyph stands in its
    // slot, and the track moved on from 0, which only a drawn tick does.
    EXPECT_TRUE(test::WaitUntil(
        [&] { return Pixel(kTitle, 0) == kWhite && display_.ScrollPosition(kTrack) > 0; }));
  }
  // Both threads are joined: nothing draws any more.
  const int drawn = host_.invalidations();
  std::this_thread::sleep_for(ScrollThread::kTickInterval * 3);
  EXPECT_EQ(host_.invalidations(), drawn);
  EXPECT_EQ(Pixel(kTitle, 0), kWhite);
}

TEST_F(TextDisplayTest, ThreadWithNothingToDrawSleepsUntilTheLineChanges) {
  ScrollThread title(display_, kTitle);
  display_.SetLineText(kTitle, "AB");
  ASSERT_TRUE(test::WaitUntil([&] { return Pixel(kTitle, 0) == kWhite; }));
  const long settled = title.ticks();
  std::this_thread::sleep_for(ScrollThread::kTickInterval * 10);
  // At most the drawing tick's count and one tick that finds nothing to do.
  EXPECT_LE(title.ticks(), settled + 2) << "a fitting text needs no ticks";

  // A wide text scrolls on every tick.
  display_.SetLineText(kTitle, kWide196);
  EXPECT_TRUE(test::WaitUntil([&] { return title.ticks() >= settled + 4; }));
  display_.SetLineText(kTitle, "AB");
  EXPECT_TRUE(test::WaitUntil([&] { return display_.ScrollPosition(kTitle) == 0; }));
  // A layout switch wakes it to redraw at the new slot width.
  const long before_switch = title.ticks();
  display_.SetLayout(kShade);
  EXPECT_TRUE(test::WaitUntil([&] { return title.ticks() > before_switch; }));
}

}  // namespace
}  // namespace zcd
