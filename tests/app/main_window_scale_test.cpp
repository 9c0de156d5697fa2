#include <gtest/gtest.h>

#include "app/main_window_fixture.h"
#include "app/settings_file.h"
#include "support/env_table.h"

// The main window meets the screen in screen pixels and keeps everything
// else in skin pixels; the headless host's work area is 0,30 1280 x 770.
namespace zcd {
namespace {

using test::MainWindowTest;

constexpr int kWorkBottom = 800;

class MainWindowScaleTest : public MainWindowTest {
 protected:
  // The main menu and its place, opened by a click on the corner.
  const std::pair<Menu, Point>& MainMenu() {
    EXPECT_TRUE(host_->Mouse({MouseAction::kPress, MouseButton::kLeft, {5, 5}, {0, 0}, false}));
    return host_->menus().back();
  }
  bool DoubleSizeChecked() {
    for (const MenuItem& item : MainMenu().first) {
      if (item.command == kCmdDoubleSize)
        return item.checked;
    }
    ADD_FAILURE() << "no Double Size item";
    return false;
  }
};

TEST_F(MainWindowScaleTest, SettingChoosesTheScaleAndMenusOpenWhereTheCornerIsShown) {
  const struct {
    int setting;
    int scale;
    Point menu;  // the main menu below the corner, client 5,15 inside the border
  } cases[] = {
      {0, 1, {100 + 6, 130 + 16}}, {1, 1, {100 + 6, 130 + 16}}, {2, 2, {100 + 12, 130 + 32}}};
  for (const auto& c : cases) {
    settings_.WindowScale = c.setting;
    Start();
    SCOPED_TRACE(c.setting);
    EXPECT_EQ(host_->Scale(), c.scale);
    EXPECT_EQ(host_->children()[0]->Scale(), c.scale);
    // Sizes stay in skin pixels whatever the scale.
    EXPECT_EQ(host_->Geometry(), (Rect{100, 130, 297, 162}));
    EXPECT_EQ(host_->children()[0]->Geometry(), (Rect{9, 126, 163, 24}));
    EXPECT_EQ(MainMenu().second, c.menu);
    window_.reset();
  }
}

TEST_F(MainWindowScaleTest, ADoubledWindowOnTheBottomOfTheWorkAreaStaysThere) {
  settings_.WindowScale = 2;
  settings_.yWinPos = kWorkBottom - 2 * 162 - 30;
  Start();
  ASSERT_EQ(host_->Geometry().y, kWorkBottom - 324);
  Post(kCmdToggleLayout);
  EXPECT_EQ(host_->Geometry(), (Rect{100, kWorkBottom - 2 * 19, 297, 19}));
  Post(kCmdToggleLayout);
  EXPECT_EQ(host_->Geometry(), (Rect{100, kWorkBottom - 324, 297, 162}));

  // At normal size the same place is not on the bottom: the window stays.
  Post(kCmdDoubleSize);
  ASSERT_EQ(host_->Scale(), 1);
  host_->SetGeometry({100, kWorkBottom - 324, 297, 162});
  Post(kCmdToggleLayout);
  EXPECT_EQ(host_->Geometry(), (Rect{100, kWorkBottom - 324, 297, 19}));
}

TEST_F(MainWindowScaleTest, DoubleSizeTogglesAtOnceAndKeepsTheWindowOnTheWorkArea) {
  Start();
  for (const bool doubled : {true, false}) {
    Post(kCmdDoubleSize);
    EXPECT_EQ(host_->Scale(), doubled ? 2 : 1);
    EXPECT_EQ(settings_.WindowScale, doubled ? 2 : 0);
    EXPECT_EQ(DoubleSizeChecked(), doubled);
  }
  const struct {
    const char* name;
    Rect before;
    Point doubled;  // where the doubled window goes
  } cases[] = {
      {"room to grow", {100, 130, 297, 162}, {100, 130}},
      {"pulled back from the right and the bottom", {1000, 600, 297, 162}, {1280 - 594, 800 - 324}},
      {"resting on the bottom", {10, 800 - 162, 297, 162}, {10, 800 - 324}},
      {"never pushed past the left or the top", {-50, 20, 297, 162}, {-50, 20}},
  };
  for (const auto& c : cases) {
    host_->SetGeometry(c.before);
    Post(kCmdDoubleSize);
    EXPECT_EQ(host_->Geometry(), (Rect{c.doubled.x, c.doubled.y, 297, 162})) << c.name;
    Post(kCmdDoubleSize);
  }
  // Shrinking keeps a window on the bottom there and leaves others alone.
  host_->SetGeometry({10, 800 - 162, 297, 162});
  Post(kCmdDoubleSize);
  host_->SetGeometry({10, 800 - 324, 297, 162});
  Post(kCmdDoubleSize);
  EXPECT_EQ(host_->Geometry(), (Rect{10, 800 - 162, 297, 162}));

  // The choice outlives the run.
  Post(kCmdDoubleSize);
  Post(kCmdExit);
  EXPECT_EQ(ReadSettings(home_.File("ZCD.ini"), home_.path(), test::EnvTable({})).WindowScale, 2);
}

}  // namespace
}  // namespace zcd
