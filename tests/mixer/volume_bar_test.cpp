#include "mixer/mixer_fixture.h"
#include "support/golden.h"

namespace zcd::test {
namespace {

using VolumeBarTest = MixerTest;

TEST_F(VolumeBarTest, DraggingAlongTheBarSetsTheBalancedVolumeUpToTheMaximum) {
  // The channels at balance 130 (from 28000 / 40000) where the thumb is
  // dragged to x.
  const std::pair<int, std::vector<int64_t>> rows[] = {
      {1, {-100, -100}},                   // the left end: silence
      {-40, {-100, -100}},                 // held at the left end
      {15, {-100 + 23786, -100 + 33981}},  // 14 of 27 steps
      {90, {-100 + 45874, -100 + 65535}},  // far past the end: the maximum
      {28, {-100 + 45874, -100 + 65535}},  // 27 of 27
  };
  device_.Add(MixerControl::kCdVolume, {-100, 65435}, {-100 + 28000, -100 + 40000});
  Make();
  ASSERT_EQ(mixer_->balance(), 130);
  ASSERT_EQ(VolumeThumbX(bar_->value(), 65535), 17);
  EXPECT_TRUE(Bar(MouseAction::kPress, {17, 20}));
  for (const auto& [x, channels] : rows) {
    EXPECT_TRUE(Bar(MouseAction::kMove, {x, 20})) << x;
    EXPECT_EQ(Channels(MixerControl::kCdVolume), channels) << x;
  }
  EXPECT_TRUE(Bar(MouseAction::kRelease, {90, 20}));
  EXPECT_FALSE(Bar(MouseAction::kMove, {1, 20}));
  device_.DeliverNotices();
  EXPECT_EQ(VolumeThumbX(bar_->value(), 65535), 28);
  // The CD knob heard the same notice.
  EXPECT_EQ(Knob(KnobId::kCdVolume).value(), 65535);
}

TEST_F(VolumeBarTest, OnlyPressesOnTheThumbOrLeftOfItStartADrag) {
  const std::pair<Point, bool> rows[] = {
      // where pressed, whether it drags
      {{0, 20}, true},   // the bar's left edge
      {{6, 20}, true},   // the thumb (x 1..5) and one column past it
      {{7, 20}, false},  // right of the thumb
      {{3, 15}, false},  // above the thumb's row
      {{3, 12}, false},  // under the button
  };
  device_.Add(MixerControl::kCdVolume, {0, 100}, {0, 0});
  Make();
  for (const auto& [at, drags] : rows) {
    SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
    EXPECT_EQ(Bar(MouseAction::kPress, at), drags);
    EXPECT_EQ(Bar(MouseAction::kMove, {20, 20}), drags);
    Bar(MouseAction::kRelease, {20, 20});
    EXPECT_EQ(Channels(MixerControl::kCdVolume).front() != 0, drags);
    device_.ChangeFromOutside(MixerControl::kCdVolume, {0, 0});
    device_.DeliverNotices();
  }
  EXPECT_EQ(panel_toggles_, 0);
}

TEST_F(VolumeBarTest, TheButtonRowsShowAndHideThePanel) {
  Make();
  for (int y : {0, 12, 13, 14})
    EXPECT_FALSE(Bar(MouseAction::kPress, {16, y})) << y;
  EXPECT_EQ(panel_toggles_, 0);
  EXPECT_TRUE(Bar(MouseAction::kPress, {16, 1}));
  EXPECT_TRUE(panel_shown_);
  EXPECT_TRUE(Bar(MouseAction::kPress, {2, 11}));
  EXPECT_FALSE(panel_shown_);
  EXPECT_EQ(panel_toggles_, 2);
}

TEST_F(VolumeBarTest, WithoutAVolumeToTurnThereIsNoThumbAndTheBarIgnoresPresses) {
  // First without a mixer device, then with a CD volume of equal bounds.
  for (const bool no_device : {true, false}) {
    SCOPED_TRACE(no_device);
    device_.Add(MixerControl::kCdVolume, {5, 5}, {5, 5});
    Make(no_device);
    EXPECT_FALSE(bar_->has_thumb());
    for (int x : {0, 3})
      EXPECT_FALSE(Bar(MouseAction::kPress, {x, 20}));
    EXPECT_FALSE(Bar(MouseAction::kMove, {29, 20}));
    EXPECT_EQ(device_.sets(), 0);
    // The thumb's row shows the bare bar.
    const Bitmap& mixerset = skin_[SkinFile::kMixerset];
    for (int x = 0; x < kVolumeBarAt.w; ++x) {
      ASSERT_EQ(bar_->surface().At(x, kVolumeThumbY + 4),
                mixerset.At(kVolumeBarHiddenPiece.x + x, kVolumeBarHiddenPiece.y + 5))
          << x;
    }
    // The button still shows the bare panel.
    EXPECT_TRUE(Bar(MouseAction::kPress, {16, 5}));
  }
}

}  // namespace
}  // namespace zcd::test
