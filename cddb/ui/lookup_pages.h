#pragma once

#include <functional>

#include "app/ui/preference_controls.h"
#include "cddb/cddb_actions.h"
#include "cddb/ui/sheet_page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zcd {

// The "Querying" page: query and cache settings, each data-disc box usable
// only while the box it depends on is checked, and the pass over the cached
// discs with their count. Window thread only.
class QueryingPage : public SheetPage {
  Q_OBJECT
 public:
  // cached_count: the database's cached entries, -1 when it is damaged.
  QueryingPage(const Settings& settings, int cached_count, const CddbActions& actions,
               std::function<void()> changed, QWidget* parent = nullptr);
  void Store(Settings& settings) const override;

 private:
  void ShowCount(int count);
  void QueryCached();

  PreferenceControls controls_;
  CddbActions actions_;
  QLabel* count_;
  QPushButton* query_cached_;
};

// The "Submitting" page: the mail server and the sender's address, which
// must stay on one line as it goes into the mail's commands. Window thread
// only.
class SubmittingPage : public SheetPage {
  Q_OBJECT
 public:
  SubmittingPage(const Settings& settings, std::function<void()> changed,
                 QWidget* parent = nullptr);
  bool Check() override;
  void Store(Settings& settings) const override;

 private:
  QLineEdit* server_;
  QLineEdit* address_;
};

}  // namespace zcd
