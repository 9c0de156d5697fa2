#include "app/menus.h"

#include <cstdio>

#include "base/command_ids.h"
#include "base/message.h"

namespace zcd {
namespace {

inline constexpr size_t kMaxItemChars = 99;
inline constexpr size_t kMaxItemBytes = 100;

// "&" shows as a mnemonic unless doubled.
std::string DoubleAmpersands(const std::string& text) {
  std::string result;
  for (char c : text) {
    const size_t needed = c == '&' ? 2 : 1;
    if (result.size() + needed > kMaxItemBytes)
      break;
    result.append(needed, c);
  }
  return result;
}

// Drops the last character, and with it the first half of a "&&" pair that
// would otherwise turn the next character into a mnemonic.
void DropLast(std::string& text) {
  text.pop_back();
  size_t ampersands = 0;
  for (auto it = text.rbegin(); it != text.rend() && *it == '&'; ++it)
    ++ampersands;
  if (ampersands % 2 == 1)
    text.pop_back();
}

std::string QuickTrackText(int track, const std::string& title, int32_t seconds, bool show_times,
                           const MenuTextWidth& width) {
  char head[16];
  std::snprintf(head, sizeof head, "%02d. ", track);
  std::string plain = head + title;
  bool truncated = false;
  if (plain.size() > kMaxItemChars) {
    plain.resize(kMaxItemChars);
    truncated = true;
  }
  std::string text = DoubleAmpersands(plain);
  if (text.size() > kMaxItemChars)
    truncated = true;
  while (!text.empty() && width(text) >= kQuickTrackMaxWidth) {
    DropLast(text);
    truncated = true;
  }
  if (truncated)
    text += "...";
  if (show_times) {
    char time[32];
    std::snprintf(time, sizeof time, "  [%d:%02d]", seconds / 60, seconds % 60);
    text += time;
  }
  return text;
}

}  // namespace

Menu BuildQuickTrackMenu(const PlayOrderList& order, bool show_times, const MenuTextWidth& width) {
  const DiscRecord& disc = order.state().disc();
  Menu menu{MenuItem::Graphic(kMenuGraphicTall)};
  for (int i = 0; i < order.EntryCount(); ++i) {
    const int track = order.EntryTrack(i);
    MenuItem item = MenuItem::Command(
        QuickTrackText(track, disc.TrackTitle(track - 1).value_or(""),
                       std::max(disc.TrackSeconds(track - 1), 0), show_times, width),
        kCmdEntryBase + i);
    item.new_column = i % kQuickTrackColumn == 0;
    menu.push_back(std::move(item));
  }
  if (order.EntryCount() <= 1)
    menu.push_back(MenuItem::Separator());
  return menu;
}

Menu BuildDriveMenu(const CdDriveList& drives) {
  Menu menu;
  for (int index : drives.indices) {
    MenuItem item = MenuItem::Command("Drive " + DriveLetterName(index), kCmdDriveBase + index);
    item.radio = true;
    menu.push_back(std::move(item));
  }
  return menu;
}

Menu BuildMainMenu(Menu drive_menu) {
  return {
      MenuItem::Graphic(kMenuGraphicShort),
      MenuItem::Command("&ZCD Info...", kCmdInfo),
      MenuItem::Separator(),
      MenuItem::Submenu("&Options",
                        {MenuItem::Command("Preferences\tCtrl+P", kCmdPreferences),
                         MenuItem::Command("CDDB Settings\tCtrl+S", kCmdCddbSettingsKey),
                         MenuItem::Command("ZCD Database\tCtrl+D", kCmdDatabase),
                         MenuItem::Command("Extended CD Info\tCtrl+E", kCmdExtendedInfo),
                         MenuItem::Command("Select Skin\tAlt+S", kCmdSkinsKey)}),
      MenuItem::Submenu("CDROMs", std::move(drive_menu)),
      MenuItem::Submenu("Escient &CDDB",
                        {MenuItem::Command("&Query CD\tAlt+C", kCmdQueryCddb),
                         MenuItem::Command("&Submit CD", kCmdSubmit),
                         MenuItem::Command("Query &Cached CD's", kCmdQueryCached)}),
      MenuItem::Command("&Always On Top", kCmdAlwaysOnTop),
      MenuItem::Command("&Shade Mode", kCmdToggleLayout),
      MenuItem::Command("&Double Size", kCmdDoubleSize),
      MenuItem::Separator(),
      MenuItem::Command("E&xit", kCmdExit),
  };
}

Menu BuildTimerMenu() {
  return {MenuItem::Command("Track Elapsed", kCmdTimerTrackElapsed),
          MenuItem::Command("Track Remaining", kCmdTimerTrackRemaining),
          MenuItem::Command("CD Elapsed", kCmdTimerCdElapsed),
          MenuItem::Command("CD Remaining", kCmdTimerCdRemaining)};
}

Menu BuildControlMenu() {
  return {MenuItem::Command("Eject\tQ", kCmdEjectKey),
          MenuItem::Command("Trk Bwd\tW", kCmdPrevTrackKey),
          MenuItem::Command("Trk Fwd\tE", kCmdNextTrackKey),
          MenuItem::Command("Stop\tR", kCmdStopKey),
          MenuItem::Command("Pause\tT", kCmdPauseKey),
          MenuItem::Command("Play\tY", kCmdPlayKey)};
}

Menu BuildSystemMenu(std::optional<Menu> quick_track, bool minimized) {
  MenuItem quick = quick_track ? MenuItem::Submenu("Quick Track", std::move(*quick_track))
                               : MenuItem::Command("Quick Track", 0);
  quick.enabled = quick_track.has_value();
  quick.new_column = true;
  MenuItem restore = MenuItem::Command("&Restore", kSysRestore);
  restore.enabled = minimized;
  MenuItem minimize = MenuItem::Command("Mi&nimize", kSysMinimize);
  minimize.enabled = !minimized;
  return {MenuItem::Graphic(kMenuGraphicShort),
          std::move(quick),
          MenuItem::Command("Preferences", kSysPreferences),
          MenuItem::Separator(),
          std::move(restore),
          std::move(minimize),
          MenuItem::Separator(),
          MenuItem::Command("&Close\tAlt+F4", kSysClose)};
}

}  // namespace zcd
