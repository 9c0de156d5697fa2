// The player with a disc whose audio it plays itself: what the user sees of
// playback's notices, and switching digital playback off.
#include <filesystem>

#include "app/main_window_fixture.h"
#include "audio/alsa_file_config.h"
#include "audio/alsa_pcm_sink.h"
#include "audio/test_image.h"
#include "platform/virtual/cue_sheet.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;

class MainWindowDigitalTest : public test::MainWindowTest {
 protected:
  MainWindowDigitalTest() {
    image_ = test::WriteTestImage(disc_dir_.path(), {300, 300}, test::TestImageFormat::kBinary);
    CueSheetResult sheet = LoadCueSheet(image_.cue);
    EXPECT_TRUE(sheet.disc) << sheet.error;
    cd_.drive->InsertDisc(*sheet.disc);
    test::WriteAlsaFileConfig(disc_dir_.File("asound.conf"), "zcdtest",
                              disc_dir_.File("written.raw"), test::FileSlave::kNull);
  }

  // Samples go to a file; or, with `opens` false, no sound device opens.
  void RouteSound(bool opens) {
    const std::string config = disc_dir_.File("asound.conf");
    cd_.table.SetDigitalOutput(
        DigitalOutput{[config, opens] {
                        return opens ? OpenAlsaPcm("zcdtest", config) : PcmOpen{nullptr, "no card"};
                      },
                      std::make_shared<StreamGain>()});
  }

  test::TempDir disc_dir_;
  test::TestImage image_;
};

TEST_F(MainWindowDigitalTest, ANoticeShowsOnTheTrackLineUntilTheTitleComesBack) {
  RouteSound(false);
  Start();
  Post(kCmdPlayKey);
  Tick();
  EXPECT_EQ(window_->shown().track_line, "No sound device (no card): the drive plays on its own");
  Fire(PlayerTimer::kDisplayRestore);
  EXPECT_EQ(window_->shown().track_line, "Track 1");
  EXPECT_TRUE(window_->monitor().playing()) << "the drive plays on its own";
}

TEST_F(MainWindowDigitalTest, AudioThatCannotBeReadStopsPlaybackAndSaysWhy) {
  RouteSound(true);
  Start();
  std::filesystem::remove(image_.layout.front().path);
  Post(kCmdPlayKey);
  ASSERT_TRUE(test::WaitUntil(
      [&] {
        Tick();
        return !window_->monitor().playing();
      },
      10s));
  ASSERT_TRUE(window_->shown().track_line);
  EXPECT_EQ(window_->shown().track_line->rfind("Cannot read the disc's audio: ", 0), 0u)
      << *window_->shown().track_line;
}

TEST_F(MainWindowDigitalTest, SwitchingDigitalPlaybackOffReopensTheDriveToPlayOnItsOwn) {
  RouteSound(true);
  std::vector<bool> routed;
  route_sound_ = [&](bool digital) {
    routed.push_back(digital);
    cd_.table.SetDigitalOutput(std::nullopt);
  };
  Start();
  Post(kCmdPlayKey);
  Settings edited = settings_;
  edited.DigitalPlayback = 0;
  window_->ApplyPreferences(edited);
  EXPECT_EQ(routed, std::vector<bool>{false});
  EXPECT_FALSE(window_->monitor().playing());
  Post(kCmdPlayKey);
  EXPECT_EQ(cd_.drive->LastPlay(), (VirtualPlayCommand{1, std::nullopt, true}));
}

}  // namespace
}  // namespace zcd
