#pragma once

#include <memory>
#include <string>
#include <vector>

#include "discdb/exporter.h"
#include "discdb/ui/database_page.h"

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

 private:
  struct Controls;
  std::unique_ptr<Controls> controls_;
};

}  // namespace zcd
