#include "skin/skin_set.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "skin/bmp_codec.h"
#include "skin/builtin_skin.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

class SkinSetTest : public ::testing::Test {
 protected:
  SkinSetTest() { mkdir(skins_.File("Plain").c_str(), 0700); }
  // A one-colour bitmap under `name` in the skin "Plain".
  void WriteBitmap(const std::string& name, uint32_t color, int w = 20, int h = 10) {
    ASSERT_TRUE(SaveBmpFile(Bitmap(w, h, color), skins_.File("Plain/" + name)));
  }

  test::TempDir skins_;
};

TEST_F(SkinSetTest, BuiltinImagesAreCompiledInAtTheirSizes) {
  for (const SkinFileInfo& info : kSkinFiles) {
    const auto image = BuiltinSkinImage(info.file);
    ASSERT_TRUE(image) << info.name;
    EXPECT_EQ(image->width, info.width) << info.name;
    EXPECT_EQ(image->height, info.height) << info.name;
    EXPECT_EQ(image, BuiltinSkinImage(info.file)) << "decoded once";
  }
  EXPECT_TRUE(BuiltinSkinFileBytes("nothing.bmp").empty());
}

TEST_F(SkinSetTest, EachMissingOrBrokenFileFallsBackOnItsOwn) {
  WriteBitmap("body.bmp", Rgb(200, 10, 10));
  WriteBitmap("CharSet.BMP", Rgb(10, 200, 10));  // made where case does not matter
  skins_.Write("Plain/slider.bmp", "BM not really a bitmap");
  const SkinSet set = LoadSkin(skins_.path(), "Plain");

  EXPECT_EQ(set[SkinFile::kBody].At(5, 5), Rgb(200, 10, 10));
  EXPECT_EQ(set[SkinFile::kBody].width, 20);
  EXPECT_EQ(set[SkinFile::kCharset].At(0, 0), Rgb(10, 200, 10));
  EXPECT_EQ(set.Shared(SkinFile::kSlider), BuiltinSkinImage(SkinFile::kSlider));
  EXPECT_EQ(set.Shared(SkinFile::kWinshade), BuiltinSkinImage(SkinFile::kWinshade));
  // The idle animation loads its sprite itself.
  EXPECT_FALSE(set.Shared(SkinFile::kZgraphic));
}

TEST_F(SkinSetTest, NoneInAnyCaseAndTheEmptyNameMeanBuiltin) {
  mkdir(skins_.File("<NONE>").c_str(), 0700);
  ASSERT_TRUE(SaveBmpFile(Bitmap(4, 4), skins_.File("<NONE>/body.bmp")));
  for (const std::string name : {"<NONE>", "<none>", ""}) {
    const SkinSet set = LoadSkin(skins_.path(), name);
    for (const SkinFileInfo& info : kSkinFiles) {
      if (info.file != SkinFile::kZgraphic) {
        EXPECT_EQ(set.Shared(info.file), BuiltinSkinImage(info.file)) << name << info.name;
      }
    }
  }
}

TEST_F(SkinSetTest, SpriteComesFromTheSkinOrTheBuiltinImage) {
  WriteBitmap("zgraphic.bmp", Rgb(1, 2, 3), 9, 7);
  EXPECT_EQ(LoadSkinImage(skins_.path(), "Plain", SkinFile::kZgraphic)->width, 9);
  EXPECT_EQ(LoadSkinImage(skins_.path(), "Missing", SkinFile::kZgraphic),
            BuiltinSkinImage(SkinFile::kZgraphic));
}

}  // namespace
}  // namespace zcd
