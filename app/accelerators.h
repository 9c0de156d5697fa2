#pragma once

#include <cstdint>

#include "base/command_ids.h"
#include "base/message.h"

namespace zcd {

// A key of the main window and the message it sends to the main window:
// a command, or for Alt+Space the window menu. Keys are written as
// "Ctrl+A", "Alt+S" or a plain letter.
struct Accelerator {
  const char* key;
  int64_t command;
  uint32_t message = kMsgCommand;

  Message ToMessage() const { return {WindowId::kMain, message, command, 0}; }
};

inline constexpr Accelerator kAccelerators[] = {
    {"Y", kCmdPlayKey},
    {"T", kCmdPauseKey},
    {"R", kCmdStopKey},
    {"Q", kCmdEjectKey},
    {"E", kCmdNextTrackKey},
    {"W", kCmdPrevTrackKey},
    {"Ctrl+A", kCmdAlwaysOnTopKey},
    {"Ctrl+D", kCmdDatabaseKey},
    {"Ctrl+E", kCmdExtendedInfoKey},
    {"Ctrl+P", kCmdPreferencesKey},
    {"Ctrl+S", kCmdCddbSettings},
    {"Ctrl+W", kCmdToggleLayoutKey},
    {"Ctrl+X", kCmdInvertRemoved},
    {"Alt+C", kCmdQueryCddbKey},
    {"Alt+S", kCmdSkins},
    // The window has no title bar: the desktop's window menu is ours.
    {"Alt+Space", kSysKeyMenu, kMsgSysCommand},
};

}  // namespace zcd
