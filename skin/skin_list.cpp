#include "skin/skin_list.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "base/text.h"
#include "skin/skin_files.h"

namespace zcd {
namespace {

namespace fs = std::filesystem;

bool IsSkinFile(const fs::directory_entry& entry) {
  std::error_code ec;
  if (!entry.is_regular_file(ec))
    return false;
  const std::string name = entry.path().filename().string();
  // A mixer panel alone is not a skin.
  return std::ranges::any_of(kSkinFiles, [&](const SkinFileInfo& skin) {
    return skin.file != SkinFile::kMixerset && EqualsIgnoringCase(name, skin.name);
  });
}

bool HoldsSkinFile(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (IsSkinFile(*it))
      return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> ListSkinEntries(const std::string& skin_folder) {
  std::vector<std::string> skins;
  std::error_code ec;
  for (fs::directory_iterator it(skin_folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code type_ec;
    // is_directory follows symbolic links, so a linked skin counts.
    if (it->is_directory(type_ec) && HoldsSkinFile(it->path()))
      skins.push_back(it->path().filename().string());
  }
  std::ranges::sort(
      skins, [](const std::string& a, const std::string& b) { return LessIgnoringCase(a, b); });
  std::vector<std::string> entries{kBuiltinSkinEntry};
  entries.insert(entries.end(), skins.begin(), skins.end());
  return entries;
}

size_t SelectSkinEntry(const std::vector<std::string>& entries, const std::string& skin_name) {
  const auto found = std::ranges::find_if(
      entries, [&](const std::string& entry) { return StartsWithIgnoringCase(entry, skin_name); });
  return found == entries.end() ? 0 : static_cast<size_t>(found - entries.begin());
}

std::string SkinsDialogTitle(size_t entry_count) {
  const size_t skins = entry_count == 0 ? 0 : entry_count - 1;
  return "Zentaro CD Skins - " + std::to_string(skins) + " Total";
}

bool IsBuiltinSkinName(const std::string& name) {
  return name.empty() || EqualsIgnoringCase(name, kBuiltinSkinEntry);
}

}  // namespace zcd
