#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "skin/bmp_codec.h"
#include "skin/builtin_skin.h"
#include "skin/skin_list.h"
#include "skin/skin_set.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

namespace fs = std::filesystem;

using Entries = std::vector<std::string>;

// A skins folder; its skin "Plain" starts empty.
class SkinSetTest : public ::testing::Test {
 protected:
  SkinSetTest() { mkdir(skins_.File("Plain").c_str(), 0700); }
  // A one-colour bitmap under `name` in the skin "Plain".
  void WriteBitmap(const std::string& name, uint32_t color, int w = 20, int h = 10) {
    ASSERT_TRUE(SaveBmpFile(Bitmap(w, h, color), skins_.File("Plain/" + name)));
  }
  // A subfolder of the skins folder holding the given (empty) files.
  void MakeFolder(const std::string& name, const std::vector<std::string>& files = {}) {
    fs::create_directories(skins_.File(name));
    for (const std::string& file : files)
      skins_.Write(name + "/" + file, "");
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

TEST_F(SkinSetTest, OnlyFoldersHoldingSkinBitmapsAreListed) {
  MakeFolder("MixerOnly", {"mixerset.bmp", "readme.txt"});
  MakeFolder("Empty");
  MakeFolder("Shouting", {"BODY.BMP"});
  MakeFolder("Tiny", {"zgraphic.bmp"});
  MakeFolder("Nested/Deeper", {"body.bmp"});  // bitmaps one level too deep
  MakeFolder("FolderNamedBody/body.bmp");     // a folder is not a bitmap
  skins_.Write("body.bmp", "");               // files beside the skins
  skins_.Write(".hidden", "");
  EXPECT_EQ(ListSkinEntries(skins_.path()), (Entries{"<none>", "Shouting", "Tiny"}));
}

TEST_F(SkinSetTest, SkinsAreSortedByNameWithoutRegardToCase) {
  for (const char* name : {"beta", "Alpha", "BlueSky", "blue", "Blue", "ALPHA2"})
    MakeFolder(name, {"charset.bmp"});
  EXPECT_EQ(ListSkinEntries(skins_.path()),
            (Entries{"<none>", "Alpha", "ALPHA2", "beta", "Blue", "blue", "BlueSky"}));
}

TEST_F(SkinSetTest, LinkedSkinFoldersCountAndUnreadableSkinFoldersGiveOnlyBuiltIn) {
  test::TempDir elsewhere;
  fs::create_directories(elsewhere.File("Real"));
  elsewhere.Write("Real/slider.bmp", "");
  fs::create_directory_symlink(elsewhere.File("Real"), skins_.File("Linked"));
  fs::create_directory_symlink(skins_.File("gone"), skins_.File("Dangling"));
  EXPECT_EQ(ListSkinEntries(skins_.path()), (Entries{"<none>", "Linked"}));

  skins_.Write("plain", "");
  for (const std::string& folder : {skins_.File("missing"), std::string(), skins_.File("plain")})
    EXPECT_EQ(ListSkinEntries(folder), Entries{"<none>"}) << folder;
}

TEST(SkinSelectionTest, FirstEntryBeginningWithTheNameTitleAndBuiltInNames) {
  const Entries entries{"<none>", "Blue", "BlueSky", "Green"};
  // "GreenHouse" is longer than every entry.
  const std::pair<const char*, size_t> names[] = {{"Blue", 1},      {"bluesky", 2}, {"gr", 3},
                                                  {"<NONE>", 0},    {"", 0},        {"Red", 0},
                                                  {"GreenHouse", 0}};
  for (const auto& [name, index] : names)
    EXPECT_EQ(SelectSkinEntry(entries, name), index) << name;
  EXPECT_EQ(SelectSkinEntry({}, "Blue"), 0u);

  EXPECT_EQ(SkinsDialogTitle(1), "Zentaro CD Skins - 0 Total");
  EXPECT_EQ(SkinsDialogTitle(13), "Zentaro CD Skins - 12 Total");
  EXPECT_EQ(SkinsDialogTitle(0), "Zentaro CD Skins - 0 Total");
  for (const char* name : {"", "<NONE>", "<None>"})
    EXPECT_TRUE(IsBuiltinSkinName(name)) << name;
  for (const char* name : {"<none>x", "none"})
    EXPECT_FALSE(IsBuiltinSkinName(name)) << name;
}

}  // namespace
}  // namespace zcd
