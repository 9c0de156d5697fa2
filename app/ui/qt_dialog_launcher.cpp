#include "app/ui/qt_dialog_launcher.h"

#include "app/ui/information_sheet.h"
#include "app/ui/preferences_sheet.h"
#include "cddb/sheet_settings.h"
#include "cddb/ui/cached_query_dialog.h"
#include "cddb/ui/cddb_settings_sheet.h"
#include "cddb/ui/inexact_match_dialog.h"
#include "discdb/database.h"
#include "discdb/ui/database_sheet.h"
#include "discdb/ui/editor_page.h"
#include "discdb/ui/extended_info_window.h"
#include "skin/ui/skins_dialog.h"

namespace zcd {
namespace {

void BringForward(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

bool QtDialogLauncher::Available(Dialog /*dialog*/) const {
  return true;
}

void QtDialogLauncher::Open(Dialog dialog, int page) {
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
    case Dialog::kCddbSettings:
      OpenCddbSettings(page);
      break;
    case Dialog::kDatabase:
      OpenDatabase(page);
      break;
    case Dialog::kExtendedInfo:
      OpenExtendedInfo(std::nullopt);
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

// An open sheet keeps its page unless a page is asked for.
void QtDialogLauncher::OpenCddbSettings(int page) {
  if (cddb_settings_) {
    if (page != 0)
      cddb_settings_->ShowPage(page);
    BringForward(cddb_settings_);
    return;
  }
  int cached = 0;
  DbListEntries(owner_.PlayerFolder().database_path(), std::string("cached"), cached);
  CddbSheetContext context{cached, owner_.PlayerFolder().net_log_path(),
                           owner_.CddbSettingsActions()};
  CddbSettingsSheet::Actions actions{
      // Only the sheet's values: the rest may have changed since it opened.
      [this](const Settings& edited) { CopyCddbSettings(edited, owner_.PlayerSettings()); },
      [this] {
        owner_.SaveSettings();
        cddb_settings_->deleteLater();
      }};
  cddb_settings_ = new CddbSettingsSheet(owner_.PlayerSettings(), std::move(context),
                                         std::move(actions), parent_);
  cddb_settings_->ShowPage(page);
}

// Opened at the editor from the player, the sheet edits the disc in the drive.
void QtDialogLauncher::OpenDatabase(int page) {
  if (!database_) {
    DatabaseSheet::Actions actions{
        [this](const Settings& edited) {
          owner_.PlayerSettings().LibraryView = edited.LibraryView;
          owner_.PlayerSettings().LoadINI = edited.LoadINI;
        },
        [this] {
          owner_.SaveSettings();
          database_->deleteLater();
        },
        [this](const std::string& disc_id) { OpenExtendedInfo(disc_id); }};
    database_ = new DatabaseSheet(owner_.PlayerSettings(), owner_.DatabaseSheetActions(),
                                  std::move(actions), parent_);
  }
  if (page == DatabaseSheet::kEditorPage)
    database_->editor()->SetRecord(nullptr);
  database_->ShowPage(page);
}

void QtDialogLauncher::OpenExtendedInfo(std::optional<std::string> disc_id) {
  if (extended_info_)
    extended_info_->close();  // stores its position before the new one opens
  const DatabaseActions database = owner_.DatabaseSheetActions();
  if (!disc_id) {
    const std::optional<CurrentDisc> current =
        database.current_disc ? database.current_disc() : std::nullopt;
    disc_id = current ? current->disc_id : std::string();
  }
  Settings& settings = owner_.PlayerSettings();
  ExtendedInfoWindow::Context context{database.db_path, database.current_disc,
                                      [this](QPoint position, bool follow) {
                                        Settings& stored = owner_.PlayerSettings();
                                        stored.xExtWinPos = position.x();
                                        stored.yExtWinPos = position.y();
                                        stored.ExtFollow = follow ? 1 : 0;
                                        if (extended_info_)
                                          extended_info_->deleteLater();
                                      }};
  extended_info_ = new ExtendedInfoWindow(*disc_id, settings.ExtFollow != 0,
                                          QPoint(settings.xExtWinPos, settings.yExtWinPos),
                                          std::move(context), parent_);
  BringForward(extended_info_);
}

int QtDialogLauncher::PickInexactMatch(const std::string& reply) {
  return RunInexactMatchDialog(parent_, reply);
}

CachedQueryChoice QtDialogLauncher::AskCachedQueryFailure() {
  return RunCachedQueryDialog(parent_);
}

}  // namespace zcd
