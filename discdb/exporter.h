#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zcd {

// Only the low 8 bits of the option flags carry meaning.
inline constexpr uint32_t kExportOptionMask = 0xff;

// The whole database; the section scopes below narrow it down.
inline constexpr char kExportAllScope[] = "ALL";
// "CAT %s\n", "ART %s\n" and "CDS %s\n%s\n" (disc title, disc identifier).
std::string CategoryScope(std::string_view category);
std::string ArtistScope(std::string_view artist);
std::string DiscScope(std::string_view disc_title, std::string_view disc_id);

// How the page offers a format's options.
enum class ExportOptionStyle { kCheckBoxes, kRadioButtons };

// What happens to an existing output file: replaced ("wb") or appended to ("a+b").
enum class ExportOpenMode { kReplace, kAppend };

// One export format. The page (or a tool) sets the options and scope, asks
// for the file name, then hands the exporter to DbForEachEntry, which calls
// FormatEntry for every entry of the database.
class Exporter {
 public:
  virtual ~Exporter() = default;

  virtual std::string FormatName() const = 0;
  // The labels of option bits 1, 2, 4, ... in that order, as the page shows them.
  virtual std::vector<std::string> OptionLabels() const = 0;
  virtual ExportOptionStyle OptionStyle() const = 0;
  // The option flags the page shows when the format is selected.
  virtual uint32_t ShowOptions() const = 0;
  // Takes the flags the page holds.
  void ReadOptions(uint32_t options) { options_ = options & kExportOptionMask; }
  uint32_t options() const { return options_; }
  bool HasOption(uint32_t bit) const { return (options_ & bit) != 0; }

  // The name the format proposes for the output; it also becomes the file name.
  virtual std::string DefaultFileName() = 0;
  // The text one entry contributes; none when the entry is not exported.
  virtual std::optional<std::string> FormatEntry(std::string_view entry) const = 0;
  virtual bool AsksForFileName() const = 0;

  const std::string& scope() const { return scope_; }
  void set_scope(std::string scope) { scope_ = std::move(scope); }
  const std::string& file_name() const { return file_name_; }
  void set_file_name(std::string file_name) { file_name_ = std::move(file_name); }
  ExportOpenMode open_mode() const { return open_mode_; }
  void set_open_mode(ExportOpenMode mode) { open_mode_ = mode; }

 private:
  uint32_t options_ = 0;
  std::string scope_;
  std::string file_name_;
  ExportOpenMode open_mode_ = ExportOpenMode::kReplace;
};

// The scope filter every format applies: entries without a category and
// cached entries are never exported.
bool AcceptsEntry(const Exporter& exporter, std::string_view entry);

}  // namespace zcd
