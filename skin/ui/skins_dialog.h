#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/settings.h"

class QListWidget;

namespace zcd {

class LinkLine;

// The maker's page with more skins, behind the dialog's link line.
inline constexpr char kSkinsWebPage[] = "https://zcd.example.org/skins";

// The modeless list of skins under settings.SkinFolder. Window thread only.
//
// The owner creates it, shows it, and destroys it after `closed` (with
// deleteLater: `closed` runs inside the dialog's own event handling, so the
// dialog must not be deleted from within the callback). The dialog never
// deletes itself. settings must outlive it.
class SkinsDialog : public QDialog {
  Q_OBJECT
 public:
  struct Actions {
    // The user picked an entry; settings.SkinName already holds it. The
    // owner reloads the skin and redraws.
    std::function<void(const std::string& name)> select;
    // The dialog was closed; settings.xSkinWinPos/ySkinWinPos hold its place.
    std::function<void()> closed;
  };
  // Asks for a folder, starting at start; none when the user cancels.
  using FolderChooser = std::function<std::optional<std::string>(const std::string& start)>;

  SkinsDialog(Actions actions, Settings& settings, QWidget* parent = nullptr);

  // Replace the desktop's folder browser and URL handler, for tests.
  void set_folder_chooser(FolderChooser chooser) { choose_folder_ = std::move(chooser); }
  void set_url_opener(std::function<void(const QUrl&)> opener);

  void done(int result) override;

 private:
  void FillList();
  void OnRowChanged(int row);
  void OnSelectFolder();

  Actions actions_;
  Settings& settings_;
  FolderChooser choose_folder_;
  std::vector<std::string> entries_;  // as the file system spells them
  QListWidget* list_;
  LinkLine* link_;
};

}  // namespace zcd
