#include "app/menus.h"

#include <gtest/gtest.h>

#include "app/main_window_fixture.h"

// The menus as the window opens them on the headless host, whose menu font
// draws every character 7 pixels wide.
namespace zcd {
namespace {

using test::MainWindowTest;

MouseEvent Press(MouseButton button, Point at) {
  return {MouseAction::kPress, button, at, {400, 300}, false};
}

const MenuItem& Submenu(const Menu& menu, const std::string& text) {
  for (const MenuItem& item : menu) {
    if (item.kind == MenuItem::Kind::kSubmenu && item.text == text)
      return item;
  }
  ADD_FAILURE() << "no submenu " << text;
  static const MenuItem kNone;
  return kNone;
}

class MenusTest : public MainWindowTest {
 protected:
  const Menu& LastMenu() { return host_->menus().back().first; }
  const Menu& OpenQuickTrack() {
    EXPECT_TRUE(host_->Mouse(Press(MouseButton::kRight, {50, 70})));  // the display
    return LastMenu();
  }
  const Menu& OpenMainMenu() {
    EXPECT_TRUE(host_->Mouse(Press(MouseButton::kLeft, {5, 5})));  // the corner
    return LastMenu();
  }
};

TEST_F(MenusTest, QuickTrackShowsEveryEntryAsItPlays) {
  Start("/autoplay");
  Cd().disc().SetTrackTitle(0, "Rock & Roll");
  Cd().disc().SetTrackTitle(1, std::string(60, 'x'));
  for (int i = 3; i < 40; ++i)
    Order().AppendEntry(3, {.copy = true});
  Order().SetRemoved(2, true);

  const Menu& menu = OpenQuickTrack();
  ASSERT_EQ(menu.size(), 41u);  // the skin strip and 40 entries, no separator
  EXPECT_EQ(menu[0].kind, MenuItem::Kind::kGraphic);
  EXPECT_EQ(menu[0].graphic, 1);
  EXPECT_EQ(menu[0].sheet, window_->skin().Shared(SkinFile::kMenugraphic));
  EXPECT_EQ(menu[1].text, "01. Rock && Roll  [3:20]");
  EXPECT_EQ(menu[1].command, kCmdEntryBase);
  EXPECT_TRUE(menu[1].checked);  // playing
  // Cut below 301 pixels: 42 characters of 7, then the dots and the time.
  EXPECT_EQ(menu[2].text, "02. " + std::string(38, 'x') + "...  [3:00]");
  EXPECT_FALSE(menu[2].checked);
  EXPECT_FALSE(menu[3].enabled);  // removed
  for (size_t i = 1; i < menu.size(); ++i)
    EXPECT_EQ(menu[i].new_column, i == 1 || i == 34) << i;

  settings_.QTTimes = 0;
  EXPECT_EQ(OpenQuickTrack()[1].text, "01. Rock && Roll");
  // Choosing an entry plays it.
  host_->QueueMenuChoice(kCmdEntryBase + 1);
  OpenQuickTrack();
  Drain();
  EXPECT_EQ(Current(), 1);
}

TEST_F(MenusTest, AnAmpersandIsNeverLeftAloneWhereATitleIsCut) {
  Start();
  Cd().disc().SetTrackTitle(0, std::string(37, 'a') + "&b");
  settings_.QTTimes = 0;
  // "01. " and 37 letters fill 41 characters; the doubled "&" would make 43.
  EXPECT_EQ(OpenQuickTrack()[1].text, "01. " + std::string(37, 'a') + "...");
}

TEST_F(MenusTest, MainMenuGreysWhatNeedsADiscAndListsTheDrives) {
  const auto second = cd_.table.AddVirtualDisc(MakeAudioDisc({60}));
  ASSERT_TRUE(second.index);
  cd_.drive->SetDoorOpen(true);
  settings_.AlwaysOnTop = 8;
  Start();
  Menu menu = OpenMainMenu();
  const MenuItem& cddb = Submenu(menu, "Escient &CDDB");
  ASSERT_EQ(cddb.items.size(), 3u);
  EXPECT_FALSE(cddb.items[0].enabled);  // &Query CD
  EXPECT_FALSE(cddb.items[1].enabled);  // &Submit CD
  EXPECT_TRUE(cddb.items[2].enabled);   // Query &Cached CD's
  const MenuItem& drives = Submenu(menu, "CDROMs");
  ASSERT_EQ(drives.items.size(), 2u);
  EXPECT_EQ(drives.items[0].text, "Drive D:");
  EXPECT_TRUE(drives.items[0].checked);
  EXPECT_EQ(drives.items[1].text, "Drive E:");
  EXPECT_FALSE(drives.items[1].checked);
  EXPECT_TRUE(menu[6].checked);  // &Always On Top
  EXPECT_EQ(menu[0].graphic, 2);
  EXPECT_EQ(menu[0].sheet, window_->skin().Shared(SkinFile::kMenugraphic));

  // The other drive, chosen from the menu, has a disc: now they are enabled.
  host_->QueueMenuChoice(kCmdDriveBase + *second.index);
  OpenMainMenu();
  Drain();
  menu = OpenMainMenu();
  EXPECT_TRUE(Submenu(menu, "Escient &CDDB").items[0].enabled);
  EXPECT_TRUE(Submenu(menu, "CDROMs").items[1].checked);
}

TEST_F(MenusTest, QueryOfCachedDiscsIsRefusedWhileAQueryRuns) {
  Start();
  ASSERT_TRUE(window_->query_lock().try_acquire());
  EXPECT_EQ(window_->commands().Run(kCmdQueryCached), 1);
  const auto boxes = host_->message_boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "There is already a query in progress.");
  EXPECT_EQ(boxes[0].caption, "Zentaro CD");
  window_->query_lock().release();
  EXPECT_EQ(window_->commands().Run(kCmdQueryCached), 0);
  EXPECT_EQ(host_->message_boxes().size(), 1u);
}

TEST_F(MenusTest, TimerControlAndWindowMenus) {
  Start("/autoplay");
  // The timer's menu checks the current mode and sets another.
  host_->QueueMenuChoice(kCmdTimerCdRemaining);
  ASSERT_TRUE(host_->Mouse(Press(MouseButton::kRight, {30, 35})));
  EXPECT_TRUE(LastMenu()[0].checked);  // Track Elapsed
  Drain();
  EXPECT_EQ(settings_.TimerType, 3);

  // The transport strip's menu checks Pause while paused.
  Post(kCmdPauseKey);
  ASSERT_TRUE(host_->children()[0]->Mouse(Press(MouseButton::kRight, {10, 10})));
  EXPECT_EQ(LastMenu()[4].text, "Pause\tT");
  EXPECT_TRUE(LastMenu()[4].checked);

  // Alt+Space: the window menu with Quick Track; its entries are system
  // commands that play as the entries do.
  host_->QueueMenuChoice(kCmdEntryBase + 2);
  queue_.Post({WindowId::kMain, kMsgSysCommand, kSysKeyMenu, 0});
  Drain();
  const Menu& system = host_->menus().back().first;
  EXPECT_EQ(Submenu(system, "Quick Track").items.size(), 4u);
  // The window menu has its banner; its submenus have none.
  EXPECT_EQ(system[0].sheet, window_->skin().Shared(SkinFile::kMenugraphic));
  EXPECT_EQ(Submenu(system, "Quick Track").items[0].sheet, nullptr);
  EXPECT_FALSE(system[4].enabled);  // &Restore: the window is not minimized
  EXPECT_EQ(Current(), 2);
  EXPECT_FALSE(Cd().paused);
}

TEST_F(MenusTest, WindowMenuWithoutADiscAndItsCloseItem) {
  cd_.drive->SetDoorOpen(true);
  Start();
  host_->QueueMenuChoice(kSysClose);
  queue_.Post({WindowId::kMain, kMsgSysCommand, kSysKeyMenu, 0});
  Drain();
  const Menu& system = host_->menus().back().first;
  EXPECT_EQ(system[1].text, "Quick Track");
  EXPECT_FALSE(system[1].enabled);
  EXPECT_TRUE(window_->destroyed());
}

}  // namespace
}  // namespace zcd
