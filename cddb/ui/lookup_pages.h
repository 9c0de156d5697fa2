#pragma once

#include <functional>

#include "app/ui/preference_controls.h"
#include "cddb/cddb_actions.h"
#include "cddb/ui/sheet_page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

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

// The "Submitting" page: by mail or by HTTP, the mail server and the
// submission address (used by mail only), and the sender's address. The
// addresses must stay on one line as they go into the mail's commands.
// Window thread only.
class SubmittingPage : public SheetPage {
  Q_OBJECT
 public:
  SubmittingPage(const Settings& settings, std::function<void()> changed,
                 QWidget* parent = nullptr);
  bool Check() override;
  void Store(Settings& settings) const override;

 private:
  QRadioButton* by_mail_;
  QRadioButton* by_http_;
  QLineEdit* server_;
  QLineEdit* submit_address_;
  QLineEdit* address_;
};

}  // namespace zcd
