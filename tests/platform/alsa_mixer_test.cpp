// The ALSA mixer against a card in a control plugin (alsa_test_card/),
// loaded through a configuration file of the test's own.
#include "platform/linux/alsa_mixer.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <poll.h>

#include <cstdlib>
#include <tuple>
#include <vector>

#include "platform/headless_window_host.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

constexpr char kFullCard[] =
    "Master Playback Volume=-20,80:55;Tone Control - Bass=0,15:3;"
    "Treble Playback Volume=-6,6:2;CD Playback Volume=0,65535:28000,40000;"
    "PCM Playback Volume=0,255:100";

class AlsaMixerTest : public ::testing::Test {
 protected:
  ~AlsaMixerTest() override {
    unsetenv("ALSA_CONFIG_PATH");
    snd_config_update_free_global();
  }

  // "default" becomes the test card `elements`; each test has a card of
  // its own, since the plugin keeps a card's values for the process.
  void UseCard(const std::string& elements) {
    const std::string card = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    UseConfig("ctl_type.zcdtest { lib \"" ZCD_ALSA_TEST_CARD
              "\" }\n"
              "ctl.!default { type zcdtest card \"" +
              card + "\" elements \"" + elements + "\" }\n");
  }
  void UseConfig(const std::string& text) {
    dir_.Write("asound.conf", text);
    setenv("ALSA_CONFIG_PATH", dir_.File("asound.conf").c_str(), 1);
  }

  // Whether the device's descriptor has a notice waiting, as the event loop
  // would see it; runs its watch when it has.
  bool Notice() {
    bool any = false;
    for (int fd : host_.watched_fds()) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 0) == 1 && (p.revents & POLLIN) != 0) {
        any = true;
        host_.FireReadable(fd);
      }
    }
    return any;
  }

  // Another program writes the element `name` of the card.
  void WriteFromOutside(const char* name, std::vector<long> values) {
    snd_ctl_t* ctl = nullptr;
    ASSERT_EQ(snd_ctl_open(&ctl, "default", 0), 0);
    snd_ctl_elem_value_t* value = nullptr;
    snd_ctl_elem_value_malloc(&value);
    snd_ctl_elem_value_set_interface(value, SND_CTL_ELEM_IFACE_MIXER);
    snd_ctl_elem_value_set_name(value, name);
    for (size_t i = 0; i < values.size(); ++i)
      snd_ctl_elem_value_set_integer(value, static_cast<unsigned>(i), values[i]);
    EXPECT_GE(snd_ctl_elem_write(ctl, value), 0);
    snd_ctl_elem_value_free(value);
    snd_ctl_close(ctl);
  }

  test::TempDir dir_;
  HeadlessWindowHost host_{nullptr};
};

TEST_F(AlsaMixerTest, WithoutASoundCardNothingIsAvailableAndAlsaSaysNothing) {
  const char* configs[] = {
      // ALSA reports this one on standard error unless told not to.
      "ctl.!default { type zcdmissing }\n",
      "ctl.!default { type hw card 31 }\n",
  };
  for (const char* config : configs) {
    SCOPED_TRACE(config);
    UseConfig(config);
    ::testing::internal::CaptureStderr();
    const std::unique_ptr<MixerDevice> device = OpenAlsaMixer(host_);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    for (int c = 0; c < kMixerControlCount; ++c)
      EXPECT_FALSE(device->Available(static_cast<MixerControl>(c)));
    EXPECT_TRUE(host_.watched_fds().empty());
  }
}

TEST_F(AlsaMixerTest, FindsTheControlsByTheElementNamesOfTheSimpleMixer) {
  const std::tuple<MixerControl, MixerBounds, int, int64_t> rows[] = {
      {MixerControl::kMaster, {-20, 80}, 1, 55},
      {MixerControl::kBass, {0, 15}, 1, 3},
      {MixerControl::kTreble, {-6, 6}, 1, 2},
      {MixerControl::kCdVolume, {0, 65535}, 2, 40000},  // the louder channel
  };
  UseCard(kFullCard);
  const std::unique_ptr<MixerDevice> device = OpenAlsaMixer(host_);
  for (const auto& [control, bounds, channels, level] : rows) {
    SCOPED_TRACE(static_cast<int>(control));
    EXPECT_TRUE(device->Available(control));
    EXPECT_EQ(device->Bounds(control), bounds);
    EXPECT_EQ(device->Channels(control), channels);
    EXPECT_EQ(device->Read(control), level);
  }
  EXPECT_EQ(device->ReadPair(MixerControl::kCdVolume), (ChannelPair{28000, 40000}));
  EXPECT_EQ(device->ReadPair(MixerControl::kMaster), std::nullopt);
  EXPECT_EQ(host_.watched_fds().size(), 1u);
}

TEST_F(AlsaMixerTest, MissingElementsAreUnavailable) {
  UseCard("Master Volume=0,31:10;Front Playback Volume=0,31:10,10");
  const std::unique_ptr<MixerDevice> device = OpenAlsaMixer(host_);
  EXPECT_TRUE(device->Available(MixerControl::kMaster));
  for (MixerControl control :
       {MixerControl::kBass, MixerControl::kTreble, MixerControl::kCdVolume}) {
    EXPECT_FALSE(device->Available(control));
    EXPECT_EQ(device->Read(control), std::nullopt);
    EXPECT_FALSE(device->Set(control, 1));
  }
  EXPECT_FALSE(device->SetPair(MixerControl::kMaster, {1, 2}));
}

TEST_F(AlsaMixerTest, EveryChangeIsReportedFromTheEventLoopOwnOnesToo) {
  UseCard(kFullCard);
  std::unique_ptr<MixerDevice> device = OpenAlsaMixer(host_);
  std::vector<MixerControl> heard;
  device->SetChangeListener([&heard](MixerControl control) { heard.push_back(control); });

  ASSERT_TRUE(device->Set(MixerControl::kMaster, 70));
  EXPECT_TRUE(heard.empty());  // not from inside Set
  EXPECT_TRUE(Notice());
  EXPECT_EQ(heard, std::vector<MixerControl>{MixerControl::kMaster});
  EXPECT_EQ(device->Read(MixerControl::kMaster), 70);

  // The same value again changes nothing and says nothing; nor does a
  // value out of range, which is refused.
  EXPECT_TRUE(device->Set(MixerControl::kMaster, 70));
  EXPECT_FALSE(device->Set(MixerControl::kMaster, 81));
  EXPECT_FALSE(device->SetPair(MixerControl::kCdVolume, {-1, 5}));
  EXPECT_FALSE(Notice());

  ASSERT_TRUE(device->SetPair(MixerControl::kCdVolume, {30000, 60000}));
  WriteFromOutside("Tone Control - Bass", {9});
  EXPECT_TRUE(Notice());
  EXPECT_EQ(heard, (std::vector<MixerControl>{MixerControl::kMaster, MixerControl::kCdVolume,
                                              MixerControl::kBass}));
  EXPECT_EQ(device->ReadPair(MixerControl::kCdVolume), (ChannelPair{30000, 60000}));
  EXPECT_EQ(device->Read(MixerControl::kBass), 9);

  device.reset();
  EXPECT_TRUE(host_.watched_fds().empty());
}

}  // namespace
}  // namespace zcd
