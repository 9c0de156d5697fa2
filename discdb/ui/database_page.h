#pragma once

#include <QWidget>

#include "base/settings.h"

namespace zcd {

// One page of the database sheet. The sheet tells a page when it becomes
// the current page and when it is left, and lets it store its values when
// the sheet's changes are applied. Window thread only.
class DatabasePage : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  virtual void Activated() {}
  virtual void Deactivated() {}
  // The sheet's changes are applied (OK or Apply).
  virtual void Apply(Settings& /*settings*/) {}
  // True while the page's work runs off the window thread; the sheet shows
  // that it is busy and closes only after it ends.
  virtual bool Busy() const { return false; }

 signals:
  // The user changed something the sheet applies.
  void Changed();
  // Busy() changed.
  void BusyChanged();
};

}  // namespace zcd
