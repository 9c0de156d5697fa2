#include "skin/skin_set.h"

#include <dirent.h>

#include <optional>

#include <unistd.h>
#include "base/text.h"
#include "skin/bmp_codec.h"
#include "skin/builtin_skin.h"
#include "skin/skin_list.h"

namespace zcd {
namespace {

// The entry of `dir` named `name` ignoring case, exact spelling first.
std::optional<std::string> FindFileIgnoringCase(const std::string& dir, const char* name) {
  const std::string exact = dir + "/" + name;
  if (access(exact.c_str(), R_OK) == 0)
    return exact;
  std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(dir.c_str()), closedir);
  if (!listing)
    return std::nullopt;
  while (const dirent* entry = readdir(listing.get())) {
    if (EqualsIgnoringCase(entry->d_name, name))
      return dir + "/" + entry->d_name;
  }
  return std::nullopt;
}

}  // namespace

std::shared_ptr<const Bitmap> LoadSkinImage(const std::string& skin_folder,
                                            const std::string& skin_name, SkinFile file) {
  if (!IsBuiltinSkinName(skin_name)) {
    const std::string dir = skin_folder + "/" + skin_name;
    if (const auto path = FindFileIgnoringCase(dir, SkinFileInfoFor(file).name)) {
      if (std::optional<Bitmap> bitmap = LoadBmpFile(*path); bitmap && !bitmap->Empty())
        return std::make_shared<const Bitmap>(std::move(*bitmap));
    }
  }
  return BuiltinSkinImage(file);
}

SkinSet LoadSkin(const std::string& skin_folder, const std::string& skin_name) {
  SkinSet set;
  for (const SkinFileInfo& info : kSkinFiles) {
    if (info.file != SkinFile::kZgraphic)
      set.bitmaps[static_cast<size_t>(info.file)] =
          LoadSkinImage(skin_folder, skin_name, info.file);
  }
  return set;
}

}  // namespace zcd
