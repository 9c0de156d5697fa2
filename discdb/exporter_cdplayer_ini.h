#pragma once

#include "discdb/exporter.h"

namespace zcd {

// The file the cdplayer.ini import reads and the export writes by default.
std::string CdPlayerIniPath(const std::string& data_dir);

// cdplayer.ini sections, one per disc, keyed by the disc's cdplayer.ini key.
class CdPlayerIniExporter : public Exporter {
 public:
  static constexpr uint32_t kIntoCdPlayerIni = 1;
  static constexpr uint32_t kDifferentFileName = 2;
  static constexpr uint32_t kOverwriteCdPlayerIni = 4;

  // data_dir holds cdplayer.ini.
  explicit CdPlayerIniExporter(std::string data_dir) : data_dir_(std::move(data_dir)) {}

  std::string FormatName() const override { return "CDPlayer.ini Format"; }
  std::vector<std::string> OptionLabels() const override;
  ExportOptionStyle OptionStyle() const override { return ExportOptionStyle::kRadioButtons; }
  // The current choice, or "Export into cdplayer.ini" when none is made.
  uint32_t ShowOptions() const override;
  // "zcd_iniformat.txt" for a different file name, else cdplayer.ini in the
  // data folder; appending into cdplayer.ini, replacing otherwise.
  std::string DefaultFileName() override;
  std::optional<std::string> FormatEntry(std::string_view entry) const override;
  bool AsksForFileName() const override { return HasOption(kDifferentFileName); }

 private:
  std::string data_dir_;
};

}  // namespace zcd
