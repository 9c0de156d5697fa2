// The CD volume turning the player's own stream in digital playback, and the
// card's controls otherwise, against the ALSA test card.
#include "platform/stream_volume_mixer.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <poll.h>

#include <cstdlib>
#include <vector>

#include "platform/headless_window_host.h"
#include "platform/linux/alsa_mixer.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

class StreamVolumeMixerTest : public ::testing::Test {
 protected:
  StreamVolumeMixerTest() {
    dir_.Write("asound.conf", "ctl_type.zcdtest { lib \"" ZCD_ALSA_TEST_CARD
                              "\" }\n"
                              "ctl.!default { type zcdtest card \"stream\" elements \""
                              "Master Playback Volume=0,100:55;"
                              "CD Playback Volume=0,65535:28000,40000\" }\n");
    setenv("ALSA_CONFIG_PATH", dir_.File("asound.conf").c_str(), 1);
    mixer_ = std::make_unique<StreamVolumeMixer>(OpenAlsaMixer(host_), gain_, host_,
                                                 [this] { return digital_; });
    mixer_->SetChangeListener([this](MixerControl control) { changes_.push_back(control); });
  }
  ~StreamVolumeMixerTest() override {
    mixer_.reset();
    unsetenv("ALSA_CONFIG_PATH");
    snd_config_update_free_global();
  }

  // Runs the watches whose descriptors are readable, as the event loop would.
  void RunEventLoop() {
    for (int fd : host_.watched_fds()) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 0) == 1)
        host_.FireReadable(fd);
    }
  }

  test::TempDir dir_;
  HeadlessWindowHost host_{nullptr};
  std::shared_ptr<StreamGain> gain_ = std::make_shared<StreamGain>();
  bool digital_ = true;
  std::unique_ptr<StreamVolumeMixer> mixer_;
  std::vector<MixerControl> changes_;
};

TEST_F(StreamVolumeMixerTest, DigitallyTheCdVolumeIsTheStreamsAndIsReportedLater) {
  EXPECT_EQ(mixer_->Bounds(MixerControl::kCdVolume), (MixerBounds{0, StreamGain::kMaximum}));
  EXPECT_EQ(mixer_->Channels(MixerControl::kCdVolume), 2);
  ASSERT_TRUE(mixer_->SetPair(MixerControl::kCdVolume, {30000, 60000}));
  EXPECT_EQ(gain_->Left(), 30000);
  EXPECT_EQ(gain_->Right(), 60000);
  EXPECT_EQ(mixer_->Read(MixerControl::kCdVolume), 60000);
  EXPECT_TRUE(changes_.empty()) << "never from inside Set";
  RunEventLoop();
  EXPECT_EQ(changes_, std::vector<MixerControl>{MixerControl::kCdVolume});
  // The card's own CD line is left alone, and master is still the card's.
  digital_ = false;
  EXPECT_EQ(mixer_->ReadPair(MixerControl::kCdVolume), (ChannelPair{28000, 40000}));
  EXPECT_EQ(mixer_->Read(MixerControl::kMaster), 55);
}

TEST_F(StreamVolumeMixerTest, ThroughTheDriveTheCdVolumeIsTheCardsAndTheStreamKeepsItsLevel) {
  digital_ = false;
  ASSERT_TRUE(mixer_->SetPair(MixerControl::kCdVolume, {1000, 2000}));
  EXPECT_EQ(mixer_->ReadPair(MixerControl::kCdVolume), (ChannelPair{1000, 2000}));
  EXPECT_EQ(gain_->Left(), StreamGain::kMaximum);
}

TEST(StreamGain, ScalesEachSideOnACubicCurve) {
  StreamGain gain;
  std::vector<int16_t> samples = {20000, -20000, 32767, -32768};
  gain.Apply(samples.data(), 2);
  EXPECT_EQ(samples, (std::vector<int16_t>{20000, -20000, 32767, -32768})) << "full is untouched";
  gain.Set(StreamGain::kMaximum / 2, 0);
  gain.Apply(samples.data(), 2);
  // Half the level is an eighth of the amplitude; nothing on the right.
  EXPECT_EQ(samples, (std::vector<int16_t>{2500, 0, 4095, 0}));
}

}  // namespace
}  // namespace zcd
