#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/main_window_fixture.h"
#include "skin/bmp_codec.h"
#include "skin/builtin_skin.h"
#include "skin/idle_motion.h"
#include "skin/text_display.h"
#include "support/golden.h"
#include "support/wait.h"

namespace zcd {
namespace {

using test::MainWindowTest;

// Threads draw the lines and the sprite: wait for what they show.
using test::WaitUntil;

class MainWindowDisplayTest : public MainWindowTest {
 protected:
  bool SlotShowsBody(TextLine line) { return ShowsBody(TextSlot(line, LayoutMode::kFull)); }
};

TEST_F(MainWindowDisplayTest, TitleShowsAtOnceAndTheTrackTitleOnlyWhilePlaying) {
  Start();
  EXPECT_TRUE(WaitUntil([&] { return !SlotShowsBody(TextLine::kTitleLine); }));
  EXPECT_TRUE(SlotShowsBody(TextLine::kTrackLine));
  Post(kCmdPlayKey);
  EXPECT_TRUE(WaitUntil([&] { return !SlotShowsBody(TextLine::kTrackLine); }));
  Post(kCmdStopKey);
  EXPECT_TRUE(WaitUntil([&] { return SlotShowsBody(TextLine::kTrackLine); }));
  EXPECT_FALSE(SlotShowsBody(TextLine::kTitleLine));
}

TEST_F(MainWindowDisplayTest, BuiltinSkinInBothLayouts) {
  Start();
  ASSERT_TRUE(WaitUntil([&] { return !SlotShowsBody(TextLine::kTitleLine); }));
  EXPECT_TRUE(test::MatchesGolden(test::ToBitmap(host_->Snapshot()), "main_full"));
  Post(kCmdToggleLayoutKey);
  ASSERT_TRUE(WaitUntil([&] {
    return !ShowsBody(TextSlot(TextLine::kTitleLine, LayoutMode::kShade), SkinFile::kWinshade);
  }));
  EXPECT_TRUE(test::MatchesGolden(test::ToBitmap(host_->Snapshot()), "main_shade"));
}

// Playing 1:05 into track 2, then paused there: the timer lit, the track's
// line, the slider, the lit Play and Pause buttons and the blinking entry.
TEST_F(MainWindowDisplayTest, BuiltinSkinPlayingAndPaused) {
  Start();
  Post(kCmdEntryBase + 1);
  cd_.Advance(65);
  Tick();
  Fire(PlayerTimer::kTrackBlink);
  ASSERT_TRUE(WaitUntil([&] {
    return !SlotShowsBody(TextLine::kTrackLine) && !SlotShowsBody(TextLine::kTitleLine);
  }));
  EXPECT_TRUE(test::MatchesGolden(test::ToBitmap(host_->Snapshot()), "main_playing"));
  Post(kCmdPauseKey);
  Child(WindowId::kControls)->FireTimer(kPauseBlinkTimer);
  EXPECT_TRUE(test::MatchesGolden(test::ToBitmap(host_->Snapshot()), "main_paused"));
}

TEST_F(MainWindowDisplayTest, SpriteBouncesWhileTheDriveIsEmptyInFullMode) {
  cd_.drive->SetDoorOpen(true);
  Start();
  IdleAnimation& idle = *window_->idle_animation();
  EXPECT_TRUE(idle.running());
  EXPECT_TRUE(WaitUntil([&] { return idle.frames() >= 2; }));
  EXPECT_FALSE(ShowsBody(kIdleArea));

  // Shade mode stops it, and full mode leaves it stopped.
  Post(kCmdToggleLayoutKey);
  EXPECT_FALSE(idle.running());
  EXPECT_EQ(window_->surface().height(), 17);
  Post(kCmdToggleLayoutKey);
  EXPECT_FALSE(idle.running());
  EXPECT_TRUE(ShowsBody(kIdleArea));

  // A disc keeps it stopped; taking the disc out brings it back.
  cd_.drive->SetDoorOpen(false);
  Poll();
  ASSERT_TRUE(Cd().disc_loaded());
  EXPECT_FALSE(idle.running());
  cd_.drive->RemoveDisc();
  Poll();
  EXPECT_TRUE(idle.running());
}

TEST_F(MainWindowDisplayTest, ChoosingASkinRedrawsWithItsFilesAndBuiltinsForTheRest) {
  const std::string skins = home_.File("skins");
  ASSERT_EQ(mkdir(skins.c_str(), 0700), 0);
  ASSERT_EQ(mkdir((skins + "/Plain").c_str(), 0700), 0);
  ASSERT_TRUE(SaveBmpFile(Bitmap(295, 160, Rgb(40, 90, 20)), skins + "/Plain/body.bmp"));
  settings_.SkinFolder = skins;
  cd_.drive->SetDoorOpen(true);
  Start();
  ASSERT_TRUE(window_->idle_animation()->running());

  window_->SelectSkin("Plain");
  EXPECT_EQ(settings_.SkinName, "Plain");
  EXPECT_TRUE(window_->idle_animation()->running());  // it bounces on in the new skin
  EXPECT_EQ(window_->skin()[SkinFile::kBody].At(0, 0), Rgb(40, 90, 20));
  EXPECT_EQ(window_->skin().Shared(SkinFile::kCharset), BuiltinSkinImage(SkinFile::kCharset));
  // The title strip, where no thread draws, shows the new body at once.
  EXPECT_TRUE(ShowsBody({0, 0, kIdleArea.x, kIdleArea.y}));
  // "drive empty" is drawn again over the new body.
  EXPECT_TRUE(WaitUntil([&] { return !SlotShowsBody(TextLine::kTitleLine); }));

  window_->SelectSkin("<none>");
  EXPECT_EQ(window_->skin().Shared(SkinFile::kBody), BuiltinSkinImage(SkinFile::kBody));
}

}  // namespace
}  // namespace zcd
