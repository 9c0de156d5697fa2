#include <gtest/gtest.h>

#include <vector>

#include "cd/cd_state.h"
#include "cd/virtual_cd_fixture.h"
#include "platform/virtual/virtual_disc.h"

namespace zcd {
namespace {

int32_t Frame(int m, int s, int f) {
  return (m * 60 + s) * 75 + f;
}

// Track 1 at 0:02.74, a data track at 3:10.00 and a last track at 40:10.70
// whose device length is 3:55.10.
VirtualDisc ExampleDisc() {
  VirtualDisc disc;
  disc.tracks = {{Frame(0, 2, 74), true}, {Frame(3, 10, 0), false}, {Frame(40, 10, 70), true}};
  disc.lead_out_frame = Frame(44, 6, 6);
  return disc;
}

TEST(CdStateOpenTest, ReadsTheTableOfContents) {
  test::VirtualCdFixture fixture(ExampleDisc());
  CdState state(fixture.table, fixture.index, true);
  state.playing = true;  // left over from an earlier disc
  ASSERT_EQ(state.OpenDisc(), kResultOk);
  EXPECT_TRUE(state.device_open());
  EXPECT_FALSE(state.playing);

  DiscTiming timing = state.disc().Timing();
  ASSERT_EQ(timing.track_count, 3);
  EXPECT_EQ(timing.toc[0], TrackTocEntry::FromMsf(0, 2, 74));
  EXPECT_EQ(timing.toc[1], TrackTocEntry::FromMsf(3, 10, 0));
  EXPECT_EQ(timing.toc[2], TrackTocEntry::FromMsf(40, 10, 70));
  // 70 + 10 + 1 frames carry one second into the lead-out.
  EXPECT_EQ(timing.toc[3], (TrackTocEntry{44, 6, 6, Frame(44, 6, 6)}));
  // Whole seconds with the frames ignored: 0:02.74 to 3:10.00 is 188 s.
  EXPECT_EQ(std::vector(timing.track_seconds.begin(), timing.track_seconds.begin() + 4),
            (std::vector<int32_t>{188, 2220, 236, -1}));
  EXPECT_EQ(timing.disc_seconds, 44 * 60 + 6);
  EXPECT_EQ(std::vector(state.audio_flags.begin(), state.audio_flags.begin() + 3),
            (std::vector<int32_t>{1, 0, 1}));
  EXPECT_TRUE(state.has_audio);

  VirtualDisc data = ExampleDisc();
  for (auto& track : data.tracks)
    track.audio = false;
  fixture.drive->InsertDisc(data);
  ASSERT_EQ(state.OpenDisc(), kResultOk);
  EXPECT_FALSE(state.has_audio);
}

TEST(CdStateOpenTest, DiscAlreadyPlayingYieldsOneAndKeepsPlaying) {
  test::VirtualCdFixture fixture(MakeAudioDisc({200, 200}));
  {
    auto other_program = fixture.drive->Open(true);
    ASSERT_TRUE(other_program->Play(2, std::nullopt, false));
  }
  fixture.Advance(5);
  CdState state(fixture.table, fixture.index, true);
  EXPECT_EQ(state.OpenDisc(), kResultPlaying);
  EXPECT_TRUE(state.playing);
  EXPECT_EQ(state.disc().TrackCount(), 2);
  EXPECT_EQ(UnpackTmsf(state.GetPosition()), (TrackPosition{2, 0, 5, 0}));
}

TEST(CdStateOpenTest, MoreThanOneHundredTracksKeepsTheFirstHundred) {
  test::VirtualCdFixture fixture(MakeAudioDisc(std::vector<int>(105, 30)));
  CdState state(fixture.table, fixture.index, true);
  ASSERT_EQ(state.OpenDisc(), kResultOk);
  DiscTiming timing = state.disc().Timing();
  EXPECT_EQ(timing.track_count, kMaxTracks);
  EXPECT_EQ(timing.toc[99].frame_address, kLeadInFrames + 99 * 30 * 75);
  EXPECT_EQ(timing.track_seconds[99], 30);
}

TEST(CdStateOpenTest, FailuresGiveTheirCodes) {
  test::VirtualCdFixture fixture(MakeAudioDisc({100, 100}));
  CdState state(fixture.table, fixture.index, false);

  fixture.drive->SetFaults({.open_fails = true});
  EXPECT_EQ(state.OpenDisc(), kResultOpenFailed);
  EXPECT_FALSE(state.device_open());

  fixture.drive->SetFaults({.status_fails = true});
  EXPECT_EQ(state.OpenDisc(), kResultStatusFailed);

  // The mode answers but the track count does not.
  fixture.drive->SetFaults({.toc_unreadable = true});
  EXPECT_EQ(state.OpenDisc(), kResultStatusFailed);
  EXPECT_EQ(state.disc().TrackCount(), 0);

  // An open door is reported before the track count is asked for, which
  // would fail with 20.
  fixture.drive->SetFaults({});
  fixture.drive->SetDoorOpen(true);
  EXPECT_EQ(state.OpenDisc(), kResultDriveEmpty);

  fixture.drive->SetDoorOpen(false);
  fixture.drive->RemoveDisc();
  EXPECT_EQ(state.OpenDisc(), kResultDriveEmpty);

  fixture.drive->InsertDisc(MakeAudioDisc({100}));
  EXPECT_EQ(state.OpenDisc(), kResultOk);
  EXPECT_EQ(state.disc().TrackCount(), 1);
}

TEST(CdStateOpenTest, ReopenReleasesTheDriveExclusiveUseKeepsOthersOutAndDestructionCloses) {
  test::VirtualCdFixture fixture(MakeAudioDisc({100}));
  {
    CdState state(fixture.table, fixture.index, false);
    ASSERT_EQ(state.OpenDisc(), kResultOk);
    ASSERT_EQ(state.OpenDisc(), kResultOk);
    EXPECT_EQ(fixture.drive->OpenHandleCount(), 1);
    CdState second(fixture.table, fixture.index, true);
    EXPECT_EQ(second.OpenDisc(), kResultOpenFailed);
  }
  EXPECT_EQ(fixture.drive->OpenHandleCount(), 0);
}

}  // namespace
}  // namespace zcd
