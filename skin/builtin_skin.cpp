#include "skin/builtin_skin.h"

#include <array>
#include <mutex>

#include "skin/bmp_codec.h"

namespace zcd {

std::shared_ptr<const Bitmap> BuiltinSkinImage(SkinFile file) {
  static std::mutex mutex;
  static std::array<std::shared_ptr<const Bitmap>, kSkinFileCount> images;
  const size_t index = static_cast<size_t>(file);
  std::lock_guard lock(mutex);
  if (!images[index]) {
    // The build embeds files the tests decode, so this cannot fail in a
    // shipped program; an empty image still draws nothing rather than crash.
    std::optional<Bitmap> decoded = DecodeBmp(BuiltinSkinFileBytes(kSkinFiles[index].name));
    images[index] = std::make_shared<const Bitmap>(decoded ? std::move(*decoded) : Bitmap());
  }
  return images[index];
}

}  // namespace zcd
