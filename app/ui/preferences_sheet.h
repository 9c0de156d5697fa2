#pragma once

#include <QDialog>
#include <functional>

#include "app/ui/preference_controls.h"
#include "base/settings.h"

class QCheckBox;
class QDialogButtonBox;
class QTabWidget;

namespace zcd {

// What the pages need to know about the machine and the desktop.
struct PreferencesContext {
  int cd_drive_count = 0;
  bool shell_registration_available = false;
  bool registered = false;
};

// The modeless Preferences sheet: pages "Startup / Shutdown", "GUI Options"
// and "CD Options" with OK, Cancel and Apply. It edits a copy of the
// settings and hands the result to its owner, who puts the values to work.
// Window thread only.
//
// The owner creates it, shows it, and destroys it after `closed` with
// deleteLater: `closed` runs inside the sheet's own event handling, so the
// sheet must not be deleted from within the callback. The sheet never
// deletes itself.
class PreferencesSheet : public QDialog {
  Q_OBJECT
 public:
  struct Actions {
    // OK or Apply: the edited values, complete (every Settings member, the
    // untouched ones as they were). OK applies only when something changed
    // since the last apply; Apply is enabled only then.
    std::function<void(const Settings& edited)> apply;
    // The sheet closed (OK, Cancel, the window's close box, Escape). The
    // owner writes the settings file and deletes the sheet with
    // deleteLater(); the sheet never deletes itself.
    std::function<void()> closed;
    // The registration check box changed and was applied (only when
    // available).
    std::function<void(bool register_player)> set_registered;
  };

  PreferencesSheet(const Settings& settings, PreferencesContext context, Actions actions,
                   QWidget* parent = nullptr);

  // Brings the open sheet forward and selects its first page.
  void ShowFirstPage();
  // Reloads the controls from settings changed elsewhere (e.g. a command
  // toggled a value) without marking the sheet changed. Edits the user has
  // not applied yet stay, unless settings changed the same value.
  void Reload(const Settings& settings);

  void done(int result) override;

 private:
  void MarkChanged();
  void Apply();

  Actions actions_;
  // The settings as last loaded or applied; the pages' edits go on top.
  Settings settings_;
  bool registration_available_;
  bool registered_;
  PreferenceControls controls_;
  QTabWidget* tabs_;
  QCheckBox* register_player_;
  QDialogButtonBox* buttons_;
};

}  // namespace zcd
