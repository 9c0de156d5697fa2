#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/long_options.h"
#include "base/command_ids.h"

namespace zcd {
namespace {

struct RecordingTarget : CommandTarget {
  int drive = 3;  // D:
  std::vector<Message> posted;
  std::vector<std::string> direct;
  int CurrentDrive() const override { return drive; }
  void Post(const Message& message) override { posted.push_back(message); }
  void Minimize() override { direct.push_back("minimize"); }
  void Restore() override { direct.push_back("restore"); }
  void EnableNetLogging() override { direct.push_back("netlog"); }
};

std::vector<Message> Parse(const std::string& text, bool forwarding, int drive = 3) {
  RecordingTarget target;
  target.drive = drive;
  ParseCommandLine(target, text, forwarding);
  return target.posted;
}

TEST(CommandLineTest, CapitalsWorkLikeLowerCase) {
  EXPECT_EQ(Parse("/STOP", false), std::vector{CommandMessage(kCmdStopKey)});
  EXPECT_EQ(Parse("/PaUsE", true), std::vector{CommandMessage(kCmdPauseKey)});
}

TEST(CommandLineTest, ChecksRunInFixedOrderWhateverTheWrittenOrder) {
  const std::vector expected = {CommandMessage(kCmdStopKey), CommandMessage(kCmdPauseKey),
                                CommandMessage(kCmdEjectKey)};
  EXPECT_EQ(Parse("/eject /pause /stop", false), expected);
  EXPECT_EQ(Parse("/stop/pause/eject", false), expected);
}

TEST(CommandLineTest, PlayWithTrackPathSwitchesDriveThenPlaysTrack) {
  const auto posted = Parse("/play E:\\Track05.cda", true);
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0], CommandMessage(kCmdDriveBase + 4));
  EXPECT_EQ(posted[1], (Message{WindowId::kTracks, kMsgPlayTrack, 5, 0}));
}

TEST(CommandLineTest, PlayOnTheCurrentDriveDoesNotSwitch) {
  const auto posted = Parse("/play d:\\track12.cda", false);
  EXPECT_EQ(posted, std::vector({Message{WindowId::kTracks, kMsgPlayTrack, 12, 0}}));
}

TEST(CommandLineTest, SecondInstanceCountsDriveAAsCurrent) {
  EXPECT_EQ(Parse("/play A:\\Track02.cda", true, 0).size(), 1u);
}

TEST(CommandLineTest, PlayWithoutTrackPlaysFromTheStart) {
  EXPECT_EQ(Parse("/play", false), std::vector{CommandMessage(kCmdPlayKey)});
  // "track" too close to the end carries no number.
  EXPECT_EQ(Parse("/play track", false), std::vector{CommandMessage(kCmdPlayKey)});
  EXPECT_EQ(Parse("/play track0", false), std::vector{CommandMessage(kCmdPlayKey)});
}

TEST(CommandLineTest, AutoplayOnlyAtFirstStart) {
  EXPECT_EQ(Parse("/autoplay", false), std::vector{CommandMessage(kCmdPlayKey)});
  EXPECT_TRUE(Parse("/autoplay", true).empty());
  EXPECT_TRUE(Parse("/AUTOPLAY", true).empty());
}

TEST(CommandLineTest, NonLetterBeforeDriveMarkIsNoDrive) {
  EXPECT_TRUE(Parse("1:\\x", false).empty());
  EXPECT_TRUE(Parse(":\\x", false).empty());
}

TEST(CommandLineTest, HideShowAndNetlogActDirectly) {
  RecordingTarget target;
  ParseCommandLine(target, "/netlog /show /hide", false);
  EXPECT_TRUE(target.posted.empty());
  EXPECT_EQ(target.direct, (std::vector<std::string>{"minimize", "restore", "netlog"}));
  RecordingTarget empty;
  ParseCommandLine(empty, "", false);
  EXPECT_TRUE(empty.posted.empty() && empty.direct.empty());
}

TEST(LongOptionsTest, TakesLongOptionsAndKeepsTheRest) {
  const auto options = TakeLongOptions({"--virtual-drive", "a.cue", "/play", "--home=/tmp/h",
                                        "--virtual-drive=b.cue", "D:\\Track01.cda"});
  EXPECT_EQ(options.virtual_drives, (std::vector<std::string>{"a.cue", "b.cue"}));
  EXPECT_EQ(options.home, "/tmp/h");
  EXPECT_EQ(options.rest, "/play D:\\Track01.cda");
  EXPECT_TRUE(options.error.empty());
}

TEST(LongOptionsTest, ReportsUnknownOptionsAndMissingValues) {
  EXPECT_EQ(TakeLongOptions({"--bogus"}).error, "unknown option --bogus");
  EXPECT_EQ(TakeLongOptions({"--home"}).error, "--home needs a value");
  EXPECT_TRUE(TakeLongOptions({"--help"}).help);
  EXPECT_NE(UsageText().find("--virtual-drive"), std::string::npos);
  EXPECT_NE(UsageText().find("/togglewin"), std::string::npos);
}

}  // namespace
}  // namespace zcd
