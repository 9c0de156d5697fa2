#pragma once

#include "discdb/exporter.h"

namespace zcd {

// The stored xmcd entries themselves, without their head lines.
class RawCddbExporter : public Exporter {
 public:
  static constexpr uint32_t kEntryHeader = 1;
  static constexpr uint32_t kExtendedInfo = 2;
  static constexpr uint32_t kPlaylist = 4;
  static constexpr uint32_t kAllOptions = 7;

  std::string FormatName() const override { return "Raw CDDB Format"; }
  std::vector<std::string> OptionLabels() const override;
  ExportOptionStyle OptionStyle() const override { return ExportOptionStyle::kCheckBoxes; }
  uint32_t ShowOptions() const override { return kAllOptions; }
  std::string DefaultFileName() override;
  std::optional<std::string> FormatEntry(std::string_view entry) const override;
  bool AsksForFileName() const override { return true; }
};

}  // namespace zcd
