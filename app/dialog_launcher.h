#pragma once

#include <string>

#include "app/data_folder.h"
#include "base/settings.h"
#include "cddb/cddb_actions.h"
#include "cddb/worker_host.h"
#include "discdb/database_actions.h"

namespace zcd {

// The player's modeless windows besides the main window.
enum class Dialog {
  kInformation,
  kPreferences,
  kCddbSettings,
  kDatabase,
  kExtendedInfo,
  kSkins,
};

// Opens the dialogs, so that the main window and its commands never know
// how a dialog is made. Each exists at most once: asking again brings the
// open one forward. Window thread only.
class DialogLauncher {
 public:
  virtual ~DialogLauncher() = default;
  // Whether this build has the dialog; menus grey the others.
  virtual bool Available(Dialog dialog) const = 0;
  // Opens it at `page`, or brings the open one forward at that page. The
  // Extended Info window opens for the disc in the drive.
  virtual void Open(Dialog dialog, int page = 0) = 0;

  // The CDDB workers' modal questions, asked on the window thread on their
  // behalf. A launcher without these dialogs answers as a user who never
  // sees them would want: the first close match (as with NoFuzzyMatch on),
  // and a stop of the cached pass rather than a retry that could loop.
  // The match of a whole 211 reply counted from 0, -1 for none.
  virtual int PickInexactMatch(const std::string& /*reply*/) { return 0; }
  // What the cached pass does after a disc's query failed.
  virtual CachedQueryChoice AskCachedQueryFailure() { return CachedQueryChoice::kStop; }
};

// What the dialogs ask of the player. Window thread only.
class DialogOwner {
 public:
  virtual ~DialogOwner() = default;
  // The player's settings, which the skins dialog edits in place.
  virtual Settings& PlayerSettings() = 0;
  // The skins dialog picked a skin; the name is stored as the chosen skin.
  virtual void SelectSkin(const std::string& name) = 0;
  // The Preferences sheet applied its values.
  virtual void ApplyPreferences(const Settings& edited) = 0;
  // A settings sheet closed: the settings file is written.
  virtual void SaveSettings() = 0;
  virtual int CdDriveCount() const = 0;
  // Where the database and the network log live.
  virtual const DataFolder& PlayerFolder() const = 0;
  // What the CDDB settings sheet may start on the player's behalf; until
  // the player fills them in, the sheet's buttons for them stay disabled.
  virtual CddbActions CddbSettingsActions() { return {}; }
  // What the database sheet and the Extended Info window use of the player.
  virtual DatabaseActions DatabaseSheetActions() { return {}; }
};

}  // namespace zcd
