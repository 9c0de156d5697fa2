#include "skin/skin_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace zcd {
namespace {

namespace fs = std::filesystem;

using Entries = std::vector<std::string>;

class SkinListTest : public ::testing::Test {
 protected:
  // A subfolder of the skins folder holding the given (empty) files.
  void MakeFolder(const std::string& name, const std::vector<std::string>& files = {}) {
    fs::create_directories(skins_.File(name));
    for (const std::string& file : files)
      skins_.Write(name + "/" + file, "");
  }

  test::TempDir skins_;
};

TEST_F(SkinListTest, OnlyFoldersHoldingSkinBitmapsAreListed) {
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

TEST_F(SkinListTest, SkinsAreSortedByNameWithoutRegardToCase) {
  for (const char* name : {"beta", "Alpha", "BlueSky", "blue", "Blue", "ALPHA2"})
    MakeFolder(name, {"charset.bmp"});
  EXPECT_EQ(ListSkinEntries(skins_.path()),
            (Entries{"<none>", "Alpha", "ALPHA2", "beta", "Blue", "blue", "BlueSky"}));
}

TEST_F(SkinListTest, LinkedSkinFolderCounts) {
  test::TempDir elsewhere;
  fs::create_directories(elsewhere.File("Real"));
  elsewhere.Write("Real/slider.bmp", "");
  fs::create_directory_symlink(elsewhere.File("Real"), skins_.File("Linked"));
  fs::create_directory_symlink(skins_.File("gone"), skins_.File("Dangling"));
  EXPECT_EQ(ListSkinEntries(skins_.path()), (Entries{"<none>", "Linked"}));
}

TEST_F(SkinListTest, UnreadableSkinFolderGivesOnlyBuiltIn) {
  EXPECT_EQ(ListSkinEntries(skins_.File("missing")), Entries{"<none>"});
  EXPECT_EQ(ListSkinEntries(""), Entries{"<none>"});
  skins_.Write("plain", "");
  EXPECT_EQ(ListSkinEntries(skins_.File("plain")), Entries{"<none>"});
}

TEST(SkinSelectionTest, FirstEntryBeginningWithTheName) {
  const Entries entries{"<none>", "Blue", "BlueSky", "Green"};
  EXPECT_EQ(SelectSkinEntry(entries, "Blue"), 1u);
  EXPECT_EQ(SelectSkinEntry(entries, "bluesky"), 2u);
  EXPECT_EQ(SelectSkinEntry(entries, "gr"), 3u);
  EXPECT_EQ(SelectSkinEntry(entries, "<NONE>"), 0u);
  EXPECT_EQ(SelectSkinEntry(entries, ""), 0u);
  EXPECT_EQ(SelectSkinEntry(entries, "Red"), 0u);
  EXPECT_EQ(SelectSkinEntry(entries, "GreenHouse"), 0u);  // longer than every entry
  EXPECT_EQ(SelectSkinEntry({}, "Blue"), 0u);
}

TEST(SkinSelectionTest, TitleCountsSkinsAndBuiltInNamesIgnoreCase) {
  EXPECT_EQ(SkinsDialogTitle(1), "Zentaro CD Skins - 0 Total");
  EXPECT_EQ(SkinsDialogTitle(13), "Zentaro CD Skins - 12 Total");
  EXPECT_EQ(SkinsDialogTitle(0), "Zentaro CD Skins - 0 Total");
  EXPECT_TRUE(IsBuiltinSkinName(""));
  EXPECT_TRUE(IsBuiltinSkinName("<NONE>"));
  EXPECT_TRUE(IsBuiltinSkinName("<None>"));
  EXPECT_FALSE(IsBuiltinSkinName("<none>x"));
  EXPECT_FALSE(IsBuiltinSkinName("none"));
}

}  // namespace
}  // namespace zcd
