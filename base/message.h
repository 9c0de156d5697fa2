#pragma once

#include <cstdint>

namespace zcd {

// The windows a message can be addressed to; the numbers are the child ids.
enum class WindowId : int {
  kMain = 0,
  kControls = 1,
  kTracks = 2,
  kSlider = 3,
  kMixer = 4,
  kVolume = 5,
};

// A posted window message. The numbers are the player's own message protocol,
// also used between instances, so they never change.
struct Message {
  WindowId target = WindowId::kMain;
  uint32_t id = 0;
  int64_t wparam = 0;
  int64_t lparam = 0;
  bool operator==(const Message&) const = default;
};

inline constexpr uint32_t kMsgCommand = 0x0111;
inline constexpr uint32_t kMsgSysCommand = 0x0112;
inline constexpr uint32_t kMsgTimer = 0x0113;
inline constexpr uint32_t kMsgDeviceNotice = 0x03B9;
inline constexpr uint32_t kMsgUser = 1024;

// kMsgSysCommand parameters.
inline constexpr int64_t kSysMinimize = 0xF020;
inline constexpr int64_t kSysRestore = 0xF120;
inline constexpr int64_t kSysClose = 0xF060;
// Alt+Space: the window menu.
inline constexpr int64_t kSysKeyMenu = 0xF100;
inline constexpr int64_t kSysPreferences = 666;

// kMsgUser + 0: wparam says which.
inline constexpr uint32_t kMsgPlayer = kMsgUser + 0;
inline constexpr int64_t kPlayerLoadDisc = 3;
inline constexpr int64_t kPlayerCddbStatus = 21;
// A worker's call waiting to run on the window thread; lparam numbers it.
inline constexpr int64_t kPlayerWindowCall = 50;

// Reasons carried by a load-disc request.
inline constexpr int64_t kLoadStartup = 1;
inline constexpr int64_t kLoadInserted = 2;
inline constexpr int64_t kLoadDriveChange = 4;
inline constexpr int64_t kLoadNextDrive = 8;

inline constexpr uint32_t kMsgTrayIcon = kMsgUser + 13;
inline constexpr uint32_t kMsgTransport = 1055;
inline constexpr uint32_t kMsgPlayEntry = 1094;
// To the tracks window: play the first entry holding track wparam.
inline constexpr uint32_t kMsgPlayTrack = kMsgUser + 83;

// The device's notice for a notifying play; wparam carries the outcome.
inline constexpr int64_t kNoticeSuccessful = 1;

inline Message CommandMessage(int64_t command) {
  return {WindowId::kMain, kMsgCommand, command, 0};
}

}  // namespace zcd
