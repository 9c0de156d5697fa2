#include "base/message_names.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "base/command_ids.h"

namespace zcd {
namespace {

TEST(MessageNamesTest, DescribesEveryKindOfMessage) {
  const struct {
    Message message;
    const char* expected;
  } cases[] = {
      {CommandMessage(kCmdPauseKey), "main: command pause [273 40056 0]"},
      {CommandMessage(kCmdDriveBase), "main: command drive A: [273 10000 0]"},
      {CommandMessage(kCmdDriveBase + 25), "main: command drive Z: [273 10025 0]"},
      // Beyond Z the player does not switch drives.
      {CommandMessage(kCmdDriveBase + 26), "main: unknown command [273 10026 0]"},
      {CommandMessage(kCmdEntryBase + 3), "main: command play entry 3 [273 20003 0]"},
      {CommandMessage(12345), "main: unknown command [273 12345 0]"},
      {{WindowId::kMain, kMsgSysCommand, kSysMinimize, 0},
       "main: system command minimize [274 61472 0]"},
      {{WindowId::kMain, kMsgSysCommand, kCmdEntryBase + 7, 0},
       "main: system command play entry 7 [274 20007 0]"},
      {{WindowId::kMain, kMsgSysCommand, kSysKeyMenu, 0},
       "main: system command window menu [274 61696 0]"},
      {{WindowId::kMain, kMsgSysCommand, 0xF010, 0}, "main: system command platform [274 61456 0]"},
      {{WindowId::kMain, kMsgTimer, 12, 0}, "main: timer 12 [275 12 0]"},
      {{WindowId::kMain, kMsgDeviceNotice, kNoticeSuccessful, 0},
       "main: device notice (successful) [953 1 0]"},
      {{WindowId::kMain, kMsgDeviceNotice, 4, 0}, "main: device notice (not successful) [953 4 0]"},
      {{WindowId::kMain, kMsgPlayer, kPlayerLoadDisc, kLoadStartup},
       "main: load disc (start-up) [1024 3 1]"},
      {{WindowId::kMain, kMsgPlayer, kPlayerLoadDisc, kLoadNextDrive},
       "main: load disc (next drive) [1024 3 8]"},
      {{WindowId::kMain, kMsgPlayer, kPlayerCddbStatus, 200},
       "main: CDDB status 200 [1024 21 200]"},
      {{WindowId::kMain, kMsgPlayer, 5, 0}, "main: unknown player request [1024 5 0]"},
      {{WindowId::kMain, kMsgTrayIcon, 1, 0x203}, "main: tray icon [1037 1 515]"},
      {{WindowId::kControls, kMsgTransport, 5, 0}, "controls: transport play [1055 5 0]"},
      {{WindowId::kControls, kMsgTransport, 6, 0}, "controls: unknown transport button [1055 6 0]"},
      {{WindowId::kTracks, kMsgPlayEntry, 0, 0}, "tracks: play entry 0 [1094 0 0]"},
      {{WindowId::kTracks, kMsgPlayTrack, 5, 0}, "tracks: play track 5 [1107 5 0]"},
      {{WindowId::kSlider, 999, -1, 2}, "slider: unknown message [999 -1 2]"},
      {{WindowId::kMixer, kMsgTimer, 1, 0}, "mixer: timer 1 [275 1 0]"},
      {{WindowId::kVolume, kMsgTimer, 1, 0}, "volume: timer 1 [275 1 0]"},
      {{static_cast<WindowId>(9), kMsgTimer, 1, 0}, "window 9: timer 1 [275 1 0]"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DescribeMessage(c.message), c.expected);
}

// The named constants of a header, with their values: "name = 40056;",
// "name = 0x0111;" or "name = kOther + 13;".
std::map<std::string, int64_t> ConstantsIn(const std::string& header, const std::string& prefix) {
  std::ifstream in(std::string(ZCD_SOURCE_DIR) + "/" + header);
  std::stringstream text;
  text << in.rdbuf();
  const std::regex definition("constexpr \\w+ (" + prefix +
                              "\\w*) = (0x[0-9A-Fa-f]+|\\d+|(\\w+) \\+ (\\d+));");
  std::map<std::string, int64_t> constants;
  const std::string source = text.str();
  for (std::sregex_iterator it(source.begin(), source.end(), definition), end; it != end; ++it) {
    const std::smatch& m = *it;
    if (m[3].matched)
      constants[m[1]] = constants.at(m[3]) + std::stoll(m[4]);
    else
      constants[m[1]] = std::stoll(m[2], nullptr, 0);
  }
  return constants;
}

// A command or message added to the protocol without a name here would
// show as a bare number in the trace.
TEST(MessageNamesTest, EveryCommandAndMessageIdHasAName) {
  const auto commands = ConstantsIn("base/command_ids.h", "kCmd");
  ASSERT_GE(commands.size(), 40u);
  for (const auto& [name, id] : commands) {
    const auto words = CommandName(id);
    ASSERT_TRUE(words) << name << " = " << id;
    EXPECT_FALSE(words->empty()) << name;
  }
  const auto messages = ConstantsIn("base/message.h", "kMsg");
  ASSERT_GE(messages.size(), 10u);
  for (const auto& [name, id] : messages) {
    const std::string words = DescribeMessage({WindowId::kMain, static_cast<uint32_t>(id), 0, 0});
    EXPECT_EQ(words.find("unknown message"), std::string::npos) << name << ": " << words;
  }
}

}  // namespace
}  // namespace zcd
