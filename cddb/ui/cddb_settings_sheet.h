#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "base/settings.h"
#include "cddb/cddb_actions.h"

class QDialogButtonBox;
class QTabWidget;

namespace zcd {

class SheetPage;

// What the pages need to know beyond the settings.
struct CddbSheetContext {
  // Cached entries in the database, -1 when it is damaged.
  int cached_count = 0;
  // The log file an empty LogFile stands for.
  std::string default_log_file;
  CddbActions actions;
};

// The modeless "Zentaro CD - CDDB Settings" sheet: pages "Servers",
// "Proxy", "Querying", "Submitting" and "Network Debug" with OK, Cancel and
// Apply. It edits a copy of the settings and hands the result to its owner.
// Window thread only.
//
// Like the Preferences sheet it never deletes itself: the owner deletes it
// with deleteLater after `closed`.
class CddbSettingsSheet : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kSubmittingPage = 3;

  struct Actions {
    // OK or Apply: the edited values, complete. Apply is enabled only after
    // a change; OK applies only then.
    std::function<void(const Settings& edited)> apply;
    // The sheet closed, whichever way; the owner writes the settings file
    // and deletes the sheet with deleteLater().
    std::function<void()> closed;
  };

  CddbSettingsSheet(const Settings& settings, CddbSheetContext context, Actions actions,
                    QWidget* parent = nullptr);

  // Brings the sheet forward at a page.
  void ShowPage(int page);
  void done(int result) override;

 private:
  void MarkChanged();
  // False when a page refused its values; nothing is applied then.
  bool Apply();

  Actions actions_;
  Settings settings_;
  QTabWidget* tabs_;
  QDialogButtonBox* buttons_;
  std::vector<SheetPage*> pages_;
};

}  // namespace zcd
