#pragma once

#include <memory>
#include <string>
#include <vector>

#include "discdb/exporter.h"
#include "discdb/ui/database_page.h"
#include "discdb/ui/file_dialog.h"

namespace zcd {

// The "Export" page: the three formats, their options, and the export run
// on a worker with its progress shown. Window thread only.
class ExportPage : public DatabasePage {
  Q_OBJECT
 public:
  // data_dir: where cdplayer.ini lives.
  ExportPage(std::string db_path, std::string data_dir, QWidget* parent = nullptr);
  ~ExportPage() override;

  // A section of the library ("CAT %s\n", "ART %s\n", "CDS %s\n%s\n") to
  // offer as "Export Specific".
  void ShowSection(const std::string& section);

  // The exporters are made when the page is shown and dropped when it is left.
  void Activated() override;
  void Deactivated() override;
  // Back to "Export All CD's".
  void Apply(Settings& settings) override;
  bool Busy() const override;

  // The save dialog the export asks for a file name with; the desktop's by default.
  void SetFileDialog(FileDialog dialog);

 private:
  struct Controls;
  struct Outcome;
  void EnsureExporters();
  void ShowFormatOptions();
  uint32_t OptionsChosen() const;
  void ShowAllScope();
  void Export();
  void ExportEnded(const Outcome& outcome);

  std::unique_ptr<Controls> controls_;
};

}  // namespace zcd
