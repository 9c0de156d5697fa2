#pragma once

#include "discdb/exporter.h"

namespace zcd {

// A readable listing: a block of disc texts between separator lines, then
// the numbered track titles.
class PlainTextExporter : public Exporter {
 public:
  static constexpr uint32_t kArtist = 1;
  static constexpr uint32_t kCdTitle = 2;
  static constexpr uint32_t kCategory = 4;
  static constexpr uint32_t kTrackTitles = 8;
  static constexpr uint32_t kTrackTimes = 16;
  static constexpr uint32_t kExtendedInfo = 32;
  static constexpr uint32_t kAllOptions = 63;

  std::string FormatName() const override { return "Plain Text"; }
  std::vector<std::string> OptionLabels() const override;
  ExportOptionStyle OptionStyle() const override { return ExportOptionStyle::kCheckBoxes; }
  uint32_t ShowOptions() const override { return kAllOptions; }
  // "zcd_category.txt", "zcd_artist.txt", "zcd_album.txt" by scope, else "zcd_export.txt".
  std::string DefaultFileName() override;
  std::optional<std::string> FormatEntry(std::string_view entry) const override;
  bool AsksForFileName() const override { return true; }
};

}  // namespace zcd
