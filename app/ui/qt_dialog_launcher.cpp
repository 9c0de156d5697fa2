#include "app/ui/qt_dialog_launcher.h"

#include "app/ui/information_sheet.h"
#include "app/ui/preferences_sheet.h"
#include "skin/ui/skins_dialog.h"

namespace zcd {
namespace {

void BringForward(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

// The CDDB settings, the database sheet and the extended information arrive
// with the CDDB client and the disc library.
bool QtDialogLauncher::Available(Dialog dialog) const {
  return dialog == Dialog::kSkins || dialog == Dialog::kPreferences ||
         dialog == Dialog::kInformation;
}

void QtDialogLauncher::Open(Dialog dialog, int /*page*/) {
  switch (dialog) {
    case Dialog::kSkins:
      OpenSkins();
      break;
    case Dialog::kPreferences:
      OpenPreferences();
      break;
    case Dialog::kInformation:
      OpenInformation();
      break;
    default:
      break;
  }
}

void QtDialogLauncher::OpenSkins() {
  if (!skins_) {
    SkinsDialog::Actions actions{[this](const std::string& name) { owner_.SelectSkin(name); },
                                 [this] { skins_->deleteLater(); }};
    // Owned by the main window's widget until it closes.
    skins_ = new SkinsDialog(std::move(actions), owner_.PlayerSettings(), parent_);
  }
  BringForward(skins_);
}

void QtDialogLauncher::OpenPreferences() {
  if (!preferences_) {
    PreferencesSheet::Actions actions{
        [this](const Settings& edited) { owner_.ApplyPreferences(edited); },
        // Closing the sheet writes the settings, whichever way it closed.
        [this] {
          owner_.SaveSettings();
          preferences_->deleteLater();
        },
        {}};
    preferences_ = new PreferencesSheet(owner_.PlayerSettings(), {owner_.CdDriveCount()},
                                        std::move(actions), parent_);
  }
  preferences_->ShowFirstPage();
  BringForward(preferences_);
}

void QtDialogLauncher::OpenInformation() {
  if (!information_)
    information_ = new InformationSheet({[this] { information_->deleteLater(); }}, parent_);
  information_->ShowFirstPage();
  BringForward(information_);
}

}  // namespace zcd
