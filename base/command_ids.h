#pragma once

#include <cstdint>

namespace zcd {

// Command identifiers: menus, keys, skinned buttons and forwarded command
// lines all arrive as one of these. Pairs are the menu item and the key.
inline constexpr int64_t kCmdInfo = 40001;
inline constexpr int64_t kCmdAlwaysOnTop = 40002;
inline constexpr int64_t kCmdAlwaysOnTopKey = 40041;
inline constexpr int64_t kCmdExit = 40003;
inline constexpr int64_t kCmdExitAlt = 40022;
inline constexpr int64_t kCmdPreferences = 40005;
inline constexpr int64_t kCmdPreferencesKey = 40035;
inline constexpr int64_t kCmdQueryCddb = 40007;
inline constexpr int64_t kCmdQueryCddbKey = 40040;
inline constexpr int64_t kCmdRestore = 40021;
inline constexpr int64_t kCmdNextTrack = 40050;
inline constexpr int64_t kCmdNextTrackKey = 40038;
inline constexpr int64_t kCmdPrevTrack = 40049;
inline constexpr int64_t kCmdPrevTrackKey = 40039;
inline constexpr int64_t kCmdEject = 40048;
inline constexpr int64_t kCmdEjectKey = 40054;
inline constexpr int64_t kCmdStop = 40051;
inline constexpr int64_t kCmdStopKey = 40055;
inline constexpr int64_t kCmdPause = 40052;
inline constexpr int64_t kCmdPauseKey = 40056;
inline constexpr int64_t kCmdPlay = 40053;
inline constexpr int64_t kCmdPlayKey = 40057;
inline constexpr int64_t kCmdCddbSettings = 40068;
inline constexpr int64_t kCmdCddbSettingsKey = 40086;
inline constexpr int64_t kCmdSubmit = 40069;
inline constexpr int64_t kCmdToggleLayout = 40071;
inline constexpr int64_t kCmdToggleLayoutKey = 40089;
inline constexpr int64_t kCmdInvertRemoved = 40072;
inline constexpr int64_t kCmdTimerTrackElapsed = 40073;
inline constexpr int64_t kCmdTimerTrackRemaining = 40074;
inline constexpr int64_t kCmdTimerCdElapsed = 40075;
inline constexpr int64_t kCmdTimerCdRemaining = 40076;
inline constexpr int64_t kCmdExtendedInfo = 40082;
inline constexpr int64_t kCmdExtendedInfoKey = 40083;
inline constexpr int64_t kCmdSkins = 40084;
inline constexpr int64_t kCmdSkinsKey = 40085;
inline constexpr int64_t kCmdDatabase = 40087;
inline constexpr int64_t kCmdDatabaseKey = 40088;
inline constexpr int64_t kCmdQueryCached = 40090;
// Shows the whole window at twice its size, or back at its own.
inline constexpr int64_t kCmdDoubleSize = 40100;

// 10000 + drive index switches drive; 20000 + entry plays that play-order entry.
inline constexpr int64_t kCmdDriveBase = 10000;
inline constexpr int64_t kCmdEntryBase = 20000;

}  // namespace zcd
