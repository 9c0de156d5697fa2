#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zcd {

// The entry that stands for the built-in images.
inline constexpr char kBuiltinSkinEntry[] = "<none>";

// kBuiltinSkinEntry, then every subfolder of skin_folder that directly holds
// at least one of the skin's bitmaps (names compared without regard to case),
// sorted by name without regard to case so the list does not depend on the
// file system's order. A folder that cannot be read gives only
// kBuiltinSkinEntry.
std::vector<std::string> ListSkinEntries(const std::string& skin_folder);

// The first entry that begins with skin_name, without regard to case; 0 when
// none does.
size_t SelectSkinEntry(const std::vector<std::string>& entries, const std::string& skin_name);

// "Zentaro CD Skins - %d Total", not counting kBuiltinSkinEntry.
std::string SkinsDialogTitle(size_t entry_count);

// An empty name or kBuiltinSkinEntry in any case.
bool IsBuiltinSkinName(const std::string& name);

}  // namespace zcd
