#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/menu.h"
#include "cd/drive_list.h"
#include "cd/play_order.h"

namespace zcd {

// The player's popup menus as data. Enabled and checked states come from
// the command table afterwards (CommandTable::ApplyTo); the builders only
// lay the menus out.

// Ids of the owner-drawn skin strip down a menu's left side.
inline constexpr int kMenuGraphicTall = 1;
inline constexpr int kMenuGraphicShort = 2;

// Quick Track items are cut until narrower than this many pixels.
inline constexpr int kQuickTrackMaxWidth = 301;
// A new column every this many entries.
inline constexpr int kQuickTrackColumn = 33;

// How wide the desktop's menu font draws a text.
using MenuTextWidth = std::function<int(const std::string&)>;

// One item per play-order entry, "NN. title" with command 20000 + i. The
// caller holds nothing: titles are read through the record's lock.
Menu BuildQuickTrackMenu(const PlayOrderList& order, bool show_times, const MenuTextWidth& width);

// "Drive D:" and so on, radio items with command 10000 + drive index.
Menu BuildDriveMenu(const CdDriveList& drives);

// The main popup with the drive menu as its "CDROMs" submenu.
Menu BuildMainMenu(Menu drive_menu);

Menu BuildTimerMenu();

// The transport strip's menu.
Menu BuildControlMenu();

// The window menu (Alt+Space): the Quick Track submenu, or a disabled item
// without a disc, Preferences and the window's own commands. Its items are
// system commands.
Menu BuildSystemMenu(std::optional<Menu> quick_track, bool minimized);

}  // namespace zcd
