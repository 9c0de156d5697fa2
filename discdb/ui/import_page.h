#pragma once

#include <memory>
#include <string>

#include "discdb/ui/database_page.h"
#include "discdb/ui/file_dialog.h"

namespace zcd {

// The "Import" page: merging another database file on a worker, with its
// progress and duplicate questions, and the cdplayer.ini check box.
// Window thread only.
class ImportPage : public DatabasePage {
  Q_OBJECT
 public:
  ImportPage(std::string db_path, const Settings& settings, QWidget* parent = nullptr);
  ~ImportPage() override;

  // LoadINI from the check box.
  void Apply(Settings& settings) override;
  bool Busy() const override;

  // The open dialog of "..."; the desktop's by default.
  void SetFileDialog(FileDialog dialog);

 private:
  struct Controls;
  struct Run;
  class RunUi;
  void Browse();
  void StartImport();
  void ImportEnded(const Run& run);
  void UpdateButtons();

  std::unique_ptr<Controls> controls_;
};

}  // namespace zcd
