#include "app/main_window_fixture.h"
#include "mixer/fake_mixer_device.h"

namespace zcd::test {
namespace {

using MainWindowMixerTest = MainWindowTest;

bool Press(HeadlessWindowHost* host, Point at) {
  MouseEvent event;
  event.at = at;
  return host->Mouse(event);
}

TEST_F(MainWindowMixerTest, TheBarsButtonShowsAndHidesThePanelOverTheOpenedMixer) {
  FakeMixerDevice* card = nullptr;
  open_mixer_ = [&card](WindowHost&) {
    auto device = std::make_unique<FakeMixerDevice>();
    device->Add(MixerControl::kMaster, {0, 100}, {40});
    card = device.get();
    return device;
  };
  Start();
  ASSERT_NE(card, nullptr);

  HeadlessWindowHost* panel = Child(WindowId::kMixer);
  HeadlessWindowHost* bar = Child(WindowId::kVolume);
  EXPECT_EQ(panel->Geometry(), kMixerAt);
  EXPECT_EQ(bar->Geometry(), kVolumeAt);
  EXPECT_EQ(panel->State(), ShowState::kHidden);
  EXPECT_EQ(bar->State(), ShowState::kNormal);

  const int invalidations = panel->invalidations();
  EXPECT_TRUE(Press(bar, {16, 5}));
  EXPECT_EQ(panel->State(), ShowState::kNormal);
  EXPECT_GT(panel->invalidations(), invalidations);
  // Straight above the master knob's centre is half way.
  EXPECT_TRUE(Press(panel, {27, 6}));
  EXPECT_EQ(card->channels(MixerControl::kMaster), std::vector<int64_t>{50});

  EXPECT_TRUE(Press(bar, {16, 5}));
  EXPECT_EQ(panel->State(), ShowState::kHidden);
}

TEST_F(MainWindowMixerTest, WithoutAMixerThePanelStillOpensAndShowsNoError) {
  Start();
  HeadlessWindowHost* bar = Child(WindowId::kVolume);
  EXPECT_TRUE(Press(bar, {16, 5}));
  EXPECT_EQ(Child(WindowId::kMixer)->State(), ShowState::kNormal);
  EXPECT_FALSE(Press(Child(WindowId::kMixer), {27, 6}));
  EXPECT_FALSE(Press(bar, {2, 20}));
  EXPECT_TRUE(host_->message_boxes().empty());
}

}  // namespace
}  // namespace zcd::test
