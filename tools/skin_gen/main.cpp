// zcd-skin-gen OUTDIR: writes the eleven bitmaps of ZCD's built-in skin.
// The committed files in resources/skin come from here; after changing the
// drawing, regenerate them with
//   build/tools/zcd-skin-gen resources/skin
#include <cstdio>
#include <string>

#include "skin/bmp_codec.h"
#include "skin/skin_files.h"
#include "tools/skin_gen/images.h"

namespace {

bool Save(const zcd::Bitmap& bitmap, zcd::SkinFile file, const std::string& folder) {
  const zcd::SkinFileInfo& info = zcd::SkinFileInfoFor(file);
  if (bitmap.width != info.width || bitmap.height != info.height) {
    std::fprintf(stderr, "zcd-skin-gen: %s drawn at %dx%d instead of %dx%d\n", info.name,
                 bitmap.width, bitmap.height, info.width, info.height);
    return false;
  }
  std::string error;
  const std::string path = folder + "/" + info.name;
  if (!zcd::SaveBmpFile(bitmap, path, &error)) {
    std::fprintf(stderr, "zcd-skin-gen: %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zcd-skin-gen OUTDIR\n");
    return 2;
  }
  using namespace zcd::skin_gen;
  using zcd::SkinFile;
  const std::string folder = argv[1];
  const zcd::Bitmap widgitset = MakeWidgitset();
  const zcd::Bitmap slider = MakeSlider();
  bool ok = true;
  ok &= Save(MakeBody(widgitset, slider), SkinFile::kBody, folder);
  ok &= Save(MakeWinshade(widgitset), SkinFile::kWinshade, folder);
  ok &= Save(widgitset, SkinFile::kWidgitset, folder);
  ok &= Save(MakeTrackset(), SkinFile::kTrackset, folder);
  ok &= Save(MakeCharset(), SkinFile::kCharset, folder);
  ok &= Save(MakeMenugraphic(), SkinFile::kMenugraphic, folder);
  ok &= Save(MakeButtonset(), SkinFile::kButtonset, folder);
  ok &= Save(MakeNumberset(), SkinFile::kNumberset, folder);
  ok &= Save(slider, SkinFile::kSlider, folder);
  ok &= Save(MakeMixerset(), SkinFile::kMixerset, folder);
  ok &= Save(MakeZgraphic(), SkinFile::kZgraphic, folder);
  return ok ? 0 : 1;
}
