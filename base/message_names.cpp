#include "base/message_names.h"

#include <array>
#include <utility>

#include "base/command_ids.h"

namespace zcd {
namespace {

// The menu item and its key share a name: the number tells them apart.
constexpr std::pair<int64_t, const char*> kCommandNames[] = {
    {kCmdInfo, "information"},
    {kCmdAlwaysOnTop, "always on top"},
    {kCmdAlwaysOnTopKey, "always on top"},
    {kCmdExit, "exit"},
    {kCmdExitAlt, "exit"},
    {kCmdPreferences, "preferences"},
    {kCmdPreferencesKey, "preferences"},
    {kCmdQueryCddb, "query CDDB"},
    {kCmdQueryCddbKey, "query CDDB"},
    {kCmdRestore, "restore"},
    {kCmdNextTrack, "next track"},
    {kCmdNextTrackKey, "next track"},
    {kCmdPrevTrack, "previous track"},
    {kCmdPrevTrackKey, "previous track"},
    {kCmdEject, "eject"},
    {kCmdEjectKey, "eject"},
    {kCmdStop, "stop"},
    {kCmdStopKey, "stop"},
    {kCmdPause, "pause"},
    {kCmdPauseKey, "pause"},
    {kCmdPlay, "play"},
    {kCmdPlayKey, "play"},
    {kCmdCddbSettings, "CDDB settings"},
    {kCmdCddbSettingsKey, "CDDB settings"},
    {kCmdSubmit, "submit"},
    {kCmdToggleLayout, "full / shade mode"},
    {kCmdToggleLayoutKey, "full / shade mode"},
    {kCmdInvertRemoved, "invert removed"},
    {kCmdTimerTrackElapsed, "timer track elapsed"},
    {kCmdTimerTrackRemaining, "timer track remaining"},
    {kCmdTimerCdElapsed, "timer CD elapsed"},
    {kCmdTimerCdRemaining, "timer CD remaining"},
    {kCmdExtendedInfo, "extended information"},
    {kCmdExtendedInfoKey, "extended information"},
    {kCmdSkins, "skins"},
    {kCmdSkinsKey, "skins"},
    {kCmdDatabase, "database"},
    {kCmdDatabaseKey, "database"},
    {kCmdQueryCached, "query cached discs"},
    {kCmdDoubleSize, "double size"},
};

// Drive letters run A..Z. Entries own the ten thousand numbers above their
// base, far more than a play order holds, so any entry index reads as one.
constexpr int64_t kDriveLetters = 26;
constexpr int64_t kEntryRange = 10000;

// Indexed by the transport button number.
constexpr std::array<const char*, 6> kTransportNames{
    {"eject", "previous track", "next track", "stop", "pause", "play"}};

std::string WindowName(WindowId window) {
  switch (window) {
    case WindowId::kMain:
      return "main";
    case WindowId::kControls:
      return "controls";
    case WindowId::kTracks:
      return "tracks";
    case WindowId::kSlider:
      return "slider";
    case WindowId::kMixer:
      return "mixer";
    case WindowId::kVolume:
      return "volume";
  }
  return "window " + std::to_string(static_cast<int>(window));
}

std::optional<std::string> EntryName(int64_t value) {
  if (value >= kCmdEntryBase && value < kCmdEntryBase + kEntryRange)
    return "play entry " + std::to_string(value - kCmdEntryBase);
  return std::nullopt;
}

std::string SysCommandName(int64_t value) {
  if (value == kSysMinimize)
    return "minimize";
  if (value == kSysRestore)
    return "restore";
  if (value == kSysPreferences)
    return "preferences";
  if (value == kSysClose)
    return "close";
  if (value == kSysKeyMenu)
    return "window menu";
  if (auto entry = EntryName(value))
    return *entry;
  // The rest belong to the platform's window menu.
  return "platform";
}

std::string PlayerRequestName(int64_t wparam, int64_t lparam) {
  if (wparam == kPlayerCddbStatus)
    return "CDDB status " + std::to_string(lparam);
  if (wparam == kPlayerWindowCall)
    return "worker call " + std::to_string(lparam);
  if (wparam != kPlayerLoadDisc)
    return "unknown player request";
  switch (lparam) {
    case kLoadStartup:
      return "load disc (start-up)";
    case kLoadInserted:
      return "load disc (disc inserted)";
    case kLoadDriveChange:
      return "load disc (drive change)";
    case kLoadNextDrive:
      return "load disc (next drive)";
    default:
      return "load disc";
  }
}

std::string TransportName(int64_t button) {
  if (button >= 0 && button < static_cast<int64_t>(kTransportNames.size()))
    return std::string("transport ") + kTransportNames[static_cast<size_t>(button)];
  return "unknown transport button";
}

std::string WhatItAsks(const Message& message) {
  switch (message.id) {
    case kMsgCommand: {
      const auto name = CommandName(message.wparam);
      return name ? "command " + *name : "unknown command";
    }
    case kMsgSysCommand:
      return "system command " + SysCommandName(message.wparam);
    case kMsgTimer:
      return "timer " + std::to_string(message.wparam);
    case kMsgDeviceNotice:
      return message.wparam == kNoticeSuccessful ? "device notice (successful)"
                                                 : "device notice (not successful)";
    case kMsgPlayer:
      return PlayerRequestName(message.wparam, message.lparam);
    case kMsgTrayIcon:
      return "tray icon";
    case kMsgTransport:
      return TransportName(message.wparam);
    case kMsgPlayEntry:
      return "play entry " + std::to_string(message.wparam);
    case kMsgPlayTrack:
      return "play track " + std::to_string(message.wparam);
    default:
      return "unknown message";
  }
}

}  // namespace

std::optional<std::string> CommandName(int64_t command) {
  for (const auto& [id, name] : kCommandNames) {
    if (id == command)
      return name;
  }
  if (command >= kCmdDriveBase && command < kCmdDriveBase + kDriveLetters)
    return std::string("drive ") + static_cast<char>('A' + (command - kCmdDriveBase)) + ":";
  return EntryName(command);
}

std::string DescribeMessage(const Message& message) {
  return WindowName(message.target) + ": " + WhatItAsks(message) + " [" +
         std::to_string(message.id) + " " + std::to_string(message.wparam) + " " +
         std::to_string(message.lparam) + "]";
}

}  // namespace zcd
