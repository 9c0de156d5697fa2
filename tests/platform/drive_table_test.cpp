#include "platform/drive_table.h"

#include <gtest/gtest.h>

#include "cd/cd_state.h"
#include "cd/drive_list.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

class DriveTableTest : public ::testing::Test {
 protected:
  std::shared_ptr<ManualClock> clock_ = std::make_shared<ManualClock>();
  test::TempDir dev_;
};

TEST_F(DriveTableTest, MachineDrivesTakeLettersFromDInDeviceOrder) {
  for (const char* name : {"sr10", "sr1", "sda", "sr0", "srx", "sr2", "sr"})
    dev_.Write(name, "");
  DriveTable table(dev_.path(), clock_);
  EXPECT_EQ(table.CdDriveIndices(), (std::vector<int>{3, 4, 5, 6}));
  EXPECT_EQ(table.LetterOf(3), "D:");
  EXPECT_EQ(table.DevicePathAt(3), std::filesystem::path(dev_.File("sr0")));
  EXPECT_EQ(table.DevicePathAt(6), std::filesystem::path(dev_.File("sr10")));
  // These are plain files, not drives.
  EXPECT_FALSE(table.OpenDrive(3, true));
  EXPECT_FALSE(table.OpenDrive(4, false));

  auto added = table.AddVirtualDisc(MakeAudioDisc({60}));
  ASSERT_EQ(added.index, 7);
  EXPECT_EQ(table.LetterOf(7), "H:");
  EXPECT_TRUE(table.VirtualDriveAt(7));
  EXPECT_FALSE(table.VirtualDriveAt(3));
  EXPECT_FALSE(table.DevicePathAt(7));
  EXPECT_TRUE(table.OpenDrive(7, true));
  EXPECT_FALSE(table.OpenDrive(8, true));
  EXPECT_EQ(table.LetterOf(8), "");

  EXPECT_EQ(ListCdDrives(table).indices, (std::vector<int>{3, 4, 5, 6, 7}));
  std::string description = table.Describe();
  EXPECT_NE(description.find("D: " + dev_.File("sr0")), std::string::npos) << description;
  EXPECT_NE(description.find("H: virtual drive"), std::string::npos) << description;
}

TEST_F(DriveTableTest, VirtualDrivesFillTheLettersUpToZ) {
  DriveTable table(dev_.File("missing"), clock_);
  EXPECT_EQ(table.Describe(), "no CD drives\n");
  for (int index = 3; index < 26; ++index)
    EXPECT_EQ(table.AddVirtualDisc(MakeAudioDisc({60})).index, index);
  auto refused = table.AddVirtualDisc(MakeAudioDisc({60}));
  EXPECT_FALSE(refused.index);
  EXPECT_FALSE(refused.error.empty());
  EXPECT_EQ(table.LetterOf(25), "Z:");
}

TEST_F(DriveTableTest, ABadCueSheetAddsNothing) {
  dev_.Write("bad.cue", "TRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 01 AUDIO\n");
  DriveTable table(dev_.File("missing"), clock_);
  auto added = table.AddVirtualDrive(dev_.File("bad.cue"));
  EXPECT_FALSE(added.index);
  EXPECT_NE(added.error.find("bad.cue: line 3:"), std::string::npos) << added.error;
  EXPECT_TRUE(table.CdDriveIndices().empty());
}

TEST_F(DriveTableTest, TheDemoDiscLoads) {
  DriveTable table(dev_.File("missing"), clock_);
  auto added = table.AddVirtualDrive(std::string(ZCD_SOURCE_DIR) + "/resources/demo/demo.cue");
  ASSERT_TRUE(added.index) << added.error;
  EXPECT_EQ(table.LetterOf(*added.index), "D:");

  CdState state(table, *added.index, true);
  ASSERT_EQ(state.OpenDisc(), kResultOk);
  DiscTiming timing = state.disc().Timing();
  ASSERT_GE(timing.track_count, 9);
  ASSERT_LE(timing.track_count, 12);
  int data_tracks = 0;
  int short_tracks = 0;
  for (int i = 0; i < timing.track_count; ++i) {
    data_tracks += state.audio_flags[i] == 0;
    if (timing.track_seconds[i] < 5) {
      ++short_tracks;
      EXPECT_EQ(state.audio_flags[i], 1);
    } else {
      EXPECT_GE(timing.track_seconds[i], 60);
      EXPECT_LE(timing.track_seconds[i], 6 * 60);
    }
  }
  EXPECT_EQ(data_tracks, 1);
  EXPECT_EQ(short_tracks, 1);
  EXPECT_TRUE(state.has_audio);
}

TEST(DriveLetterTest, LettersAndNames) {
  EXPECT_EQ(DriveLetterName(0), "A:");
  EXPECT_EQ(DriveLetterName(25), "Z:");
  EXPECT_EQ(DriveLetterName(26), "");
  EXPECT_EQ(DriveLetterName(-1), "");
  EXPECT_EQ(DriveIndexOfName("e:"), 4);
  EXPECT_EQ(DriveIndexOfName("E"), 4);
  EXPECT_FALSE(DriveIndexOfName("E:/"));
  EXPECT_FALSE(DriveIndexOfName("1:"));
  EXPECT_FALSE(DriveIndexOfName(""));
}

}  // namespace
}  // namespace zcd
