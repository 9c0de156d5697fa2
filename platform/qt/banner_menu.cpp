#include "platform/qt/banner_menu.h"

#include <QImage>
#include <QPainter>
#include <QStyle>

#include "skin/menu_banner.h"

namespace zcd {

BannerMenu::BannerMenu(QWidget* parent) : QMenu(parent) {}

void BannerMenu::SetBanner(std::shared_ptr<const Bitmap> sheet, int graphic) {
  sheet_ = std::move(sheet);
  graphic_ = graphic;
  setContentsMargins(sheet_ ? kMenuBannerWidth : 0, 0, 0, 0);
}

QRect BannerMenu::BannerRect() const {
  const int frame = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
  return {frame, frame, kMenuBannerWidth, height() - 2 * frame};
}

void BannerMenu::paintEvent(QPaintEvent* event) {
  QMenu::paintEvent(event);
  if (!sheet_)
    return;
  const QRect where = BannerRect();
  // Made for the menu's height each time: a menu is painted a few times at most.
  const Surface strip = MenuBannerStrip(*sheet_, graphic_, where.height());
  if (strip.width() == 0)
    return;
  const QImage image(reinterpret_cast<const uchar*>(strip.Row(0)), strip.width(), strip.height(),
                     strip.width() * 4, QImage::Format_ARGB32);
  QPainter painter(this);
  painter.drawImage(where.topLeft(), image);
}

}  // namespace zcd
