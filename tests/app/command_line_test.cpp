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

Message Play(int track) {
  return {WindowId::kTracks, kMsgPlayTrack, track, 0};
}

TEST(CommandLineTest, PostsTheCommandsInAFixedOrder) {
  const Message stop = CommandMessage(kCmdStopKey);
  const Message pause = CommandMessage(kCmdPauseKey);
  const Message eject = CommandMessage(kCmdEjectKey);
  const Message play = CommandMessage(kCmdPlayKey);
  const struct {
    const char* text;
    bool forwarding;  // by a second instance
    int drive;
    std::vector<Message> posted;
  } cases[] = {// Capitals work like lower case.
               {"/STOP", false, 3, {stop}},
               {"/PaUsE", true, 3, {pause}},
               // The checks run in a fixed order whatever the written order.
               {"/eject /pause /stop", false, 3, {stop, pause, eject}},
               {"/stop/pause/eject", false, 3, {stop, pause, eject}},
               // A track path on another drive switches the drive, then plays the track.
               {"/play E:\\Track05.cda", true, 3, {CommandMessage(kCmdDriveBase + 4), Play(5)}},
               {"/play d:\\track12.cda", false, 3, {Play(12)}},
               // A second instance counts drive A: as the current one.
               {"/play A:\\Track02.cda", true, 0, {Play(2)}},
               // Without a track (or a "track" too close to the end to carry a number)
               // play starts from the beginning.
               {"/play", false, 3, {play}},
               {"/play track", false, 3, {play}},
               {"/play track0", false, 3, {play}},
               // Autoplay only at the first start.
               {"/autoplay", false, 3, {play}},
               {"/autoplay", true, 3, {}},
               {"/AUTOPLAY", true, 3, {}},
               // A non-letter before the drive mark is no drive.
               {"1:\\x", false, 3, {}},
               {":\\x", false, 3, {}},
               {"", false, 3, {}}};
  for (const auto& c : cases) {
    RecordingTarget target;
    target.drive = c.drive;
    ParseCommandLine(target, c.text, c.forwarding);
    EXPECT_EQ(target.posted, c.posted) << c.text;
    EXPECT_TRUE(target.direct.empty()) << c.text;
  }
}

TEST(CommandLineTest, HideShowAndNetlogActDirectly) {
  RecordingTarget target;
  ParseCommandLine(target, "/netlog /show /hide", false);
  EXPECT_TRUE(target.posted.empty());
  EXPECT_EQ(target.direct, (std::vector<std::string>{"minimize", "restore", "netlog"}));
}

TEST(LongOptionsTest, TakesLongOptionsAndKeepsTheRest) {
  const auto options = TakeLongOptions({"--virtual-drive", "a.cue", "/play", "--home=/tmp/h",
                                        "--virtual-drive=b.cue", "D:\\Track01.cda"});
  EXPECT_EQ(options.virtual_drives, (std::vector<std::string>{"a.cue", "b.cue"}));
  EXPECT_EQ(options.home, "/tmp/h");
  EXPECT_EQ(options.rest, "/play D:\\Track01.cda");
  EXPECT_TRUE(options.error.empty());
  EXPECT_FALSE(options.help);

  EXPECT_EQ(TakeLongOptions({"--bogus"}).error, "unknown option --bogus");
  EXPECT_EQ(TakeLongOptions({"--home"}).error, "--home needs a value");
  EXPECT_TRUE(TakeLongOptions({"--help"}).help);
  EXPECT_NE(UsageText().find("--virtual-drive"), std::string::npos);
  EXPECT_NE(UsageText().find("/togglewin"), std::string::npos);
}

}  // namespace
}  // namespace zcd
