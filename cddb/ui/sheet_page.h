#pragma once

#include <QWidget>
#include <functional>

#include "base/settings.h"

namespace zcd {

// One page of the CDDB settings sheet. A page shows the settings it was
// made with and stores the user's edits on apply; it reports every edit
// through the changed callback it was given. Window thread only.
class SheetPage : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  // False when the page cannot be stored as it is; the page has told the
  // user why, and nothing is applied.
  virtual bool Check() { return true; }
  virtual void Store(Settings& settings) const = 0;
};

}  // namespace zcd
