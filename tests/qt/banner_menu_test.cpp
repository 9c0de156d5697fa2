#include "platform/qt/banner_menu.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "platform/qt/qt_window_host.h"
#include "skin/menu_banner.h"

namespace zcd {
namespace {

// Every pixel of the sheet tells where it came from, rows past 255 too.
std::shared_ptr<const Bitmap> Sheet() {
  auto sheet = std::make_shared<Bitmap>(47, 444);
  for (int y = 0; y < sheet->height; ++y)
    for (int x = 0; x < sheet->width; ++x)
      sheet->At(x, y) = Rgb(static_cast<uint32_t>(x), static_cast<uint32_t>(y) & 0xFF,
                            0x40 | static_cast<uint32_t>(y >> 8));
  return sheet;
}

Menu CommandsUnder(MenuItem graphic, int count) {
  Menu menu{std::move(graphic)};
  for (int i = 0; i < count; ++i)
    menu.push_back(MenuItem::Command("Entry " + std::to_string(i), 100 + i));
  return menu;
}

// What the popup looked like while it was open, and its banner's place.
struct Shown {
  QImage image;
  QRect banner;
  int first_item_x = -1;
  bool submenu_plain = false;
};

Shown ShowAndGrab(QtWindowHost& host, const Menu& menu) {
  Shown shown;
  QTimer::singleShot(0, [&shown] {
    auto* popup = qobject_cast<BannerMenu*>(QApplication::activePopupWidget());
    if (popup == nullptr)
      return;
    shown.image = popup->grab().toImage();
    shown.banner = popup->BannerRect();
    const QList<QAction*> actions = popup->actions();
    shown.first_item_x = popup->actionGeometry(actions.front()).x();
    for (QAction* action : actions) {
      if (action->menu() != nullptr)
        shown.submenu_plain = action->menu()->contentsMargins().left() == 0;
    }
    popup->close();
  });
  EXPECT_EQ(host.PopupMenu(menu, {200, 100}), std::nullopt);
  return shown;
}

// Whether the banner's pixels are the strip's.
bool BannerShows(const Shown& shown, const Surface& strip) {
  const QImage want(reinterpret_cast<const uchar*>(strip.Row(0)), strip.width(), strip.height(),
                    strip.width() * 4, QImage::Format_RGB32);
  return shown.image.copy(shown.banner).convertToFormat(QImage::Format_RGB32) == want;
}

class BannerMenuTest : public ::testing::Test {
 protected:
  BannerMenuTest() {
    host_.SetGeometry({50, 50, 100, 40});
    host_.Show(ShowState::kNormal);
  }
  QtWindowHost host_;
  std::shared_ptr<const Bitmap> sheet_ = Sheet();
};

TEST_F(BannerMenuTest, TheBannerStandsLeftOfTheItemsAndATallMenuTilesTheFiller) {
  // A short menu shows the top of the tall banner; a tall one has the short
  // banner and the filler tiled below it.
  for (const auto& [banner, count] : {std::pair{1, 3}, std::pair{2, 20}}) {
    SCOPED_TRACE(banner);
    MenuItem graphic = MenuItem::Graphic(banner);
    graphic.sheet = sheet_;
    Menu menu = CommandsUnder(graphic, count);
    menu.push_back(MenuItem::Submenu("More", CommandsUnder(graphic, 2)));
    const Shown shown = ShowAndGrab(host_, menu);
    ASSERT_FALSE(shown.image.isNull());
    const int height = shown.banner.height();
    EXPECT_TRUE(banner == 1 ? height < kMenuBannerTall.h
                            : height > kMenuBannerShort.h + kMenuBannerFiller.h);
    EXPECT_EQ(shown.banner.width(), kMenuBannerWidth);
    EXPECT_GE(shown.first_item_x, shown.banner.right() + 1);
    EXPECT_TRUE(BannerShows(shown, MenuBannerStrip(*sheet_, banner, height)));
    EXPECT_TRUE(shown.submenu_plain);
  }
}

TEST_F(BannerMenuTest, WithoutASheetTheMenuStaysPlain) {
  const Shown shown = ShowAndGrab(host_, CommandsUnder(MenuItem::Graphic(2), 3));
  ASSERT_FALSE(shown.image.isNull());
  EXPECT_LT(shown.first_item_x, kMenuBannerWidth);
}

}  // namespace
}  // namespace zcd
