#pragma once

#include <QPointer>
#include <optional>
#include <string>

#include "app/dialog_launcher.h"

class QWidget;

namespace zcd {

class CddbSettingsSheet;
class DatabaseSheet;
class ExtendedInfoWindow;
class InformationSheet;
class PreferencesSheet;
class SkinsDialog;

// The dialogs as Qt windows owned by the main window's widget. Each is made
// when first asked for and deleted when its user closes it. Window thread
// only; the owner and the parent must outlive the launcher.
class QtDialogLauncher : public DialogLauncher {
 public:
  QtDialogLauncher(DialogOwner& owner, QWidget* parent) : owner_(owner), parent_(parent) {}

  bool Available(Dialog dialog) const override;
  void Open(Dialog dialog, int page = 0) override;
  // Modal on the parent; they return when the user answers.
  int PickInexactMatch(const std::string& reply) override;
  CachedQueryChoice AskCachedQueryFailure() override;

 private:
  void OpenSkins();
  void OpenPreferences();
  void OpenInformation();
  void OpenCddbSettings(int page);
  void OpenDatabase(int page);
  // Replaces an open window; the disc in the drive when disc_id is none.
  void OpenExtendedInfo(std::optional<std::string> disc_id);

  DialogOwner& owner_;
  QWidget* parent_;
  QPointer<SkinsDialog> skins_;
  QPointer<PreferencesSheet> preferences_;
  QPointer<InformationSheet> information_;
  QPointer<CddbSettingsSheet> cddb_settings_;
  QPointer<DatabaseSheet> database_;
  QPointer<ExtendedInfoWindow> extended_info_;
};

}  // namespace zcd
