#pragma once

#include <QMenu>
#include <memory>

#include "base/bitmap.h"

namespace zcd {

// A popup menu with the skin's banner down its left side, in a margin of
// its own so that no item is drawn under it.
class BannerMenu : public QMenu {
  Q_OBJECT
 public:
  explicit BannerMenu(QWidget* parent = nullptr);

  // The banner of graphic item `graphic` cut from `sheet`; without a sheet
  // the menu stays plain.
  void SetBanner(std::shared_ptr<const Bitmap> sheet, int graphic);
  // Where the banner goes: inside the menu's frame, from top to bottom.
  QRect BannerRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::shared_ptr<const Bitmap> sheet_;
  int graphic_ = 0;
};

}  // namespace zcd
