#include "app/data_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "support/env_table.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::EnvTable;

TEST(DataFolderTest, HomeOptionThenEnvironmentThenXdgFolders) {
  const std::string cwd = std::filesystem::current_path().string();
  const struct {
    std::optional<std::string> option;
    std::map<std::string, std::string> env;
    std::string config, data;
  } cases[] = {
      {"/from/option", {{"ZCD_HOME", "/from/env/"}}, "/from/option", "/from/option"},
      {std::nullopt, {{"ZCD_HOME", "/from/env/"}}, "/from/env", "/from/env"},
      {"rel/dir", {}, cwd + "/rel/dir", cwd + "/rel/dir"},
      {std::nullopt, {{"ZCD_HOME", ""}}, "/home/u/.config/zcd", "/home/u/.local/share/zcd"},
      {std::nullopt,
       {{"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/share/"}},
       "/cfg/zcd",
       "/share/zcd"},
      // Relative XDG folders are to be ignored.
      {std::nullopt,
       {{"XDG_CONFIG_HOME", "cfg"}},
       "/home/u/.config/zcd",
       "/home/u/.local/share/zcd"},
  };
  for (const auto& c : cases) {
    auto env = c.env;
    env.emplace("HOME", "/home/u");
    const DataFolder folder = LocateDataFolder(c.option, "/usr/bin/zcd", EnvTable(env));
    EXPECT_EQ(folder.config_dir, c.config) << c.option.value_or("-");
    EXPECT_EQ(folder.data_dir, c.data) << c.option.value_or("-");
  }
}

TEST(DataFolderTest, PortableWhenTheIniSitsBesideTheExecutable) {
  test::TempDir dir;
  EnvLookup env = EnvTable({{"HOME", "/home/u"}});
  dir.Write("zcd", "");
  std::string exe = dir.File("zcd");
  EXPECT_EQ(LocateDataFolder(std::nullopt, exe, env).config_dir, "/home/u/.config/zcd");

  ASSERT_EQ(mkdir(dir.File("ZCD.ini").c_str(), 0700), 0);
  EXPECT_EQ(LocateDataFolder(std::nullopt, exe, env).config_dir, "/home/u/.config/zcd")
      << "a folder named ZCD.ini is no settings file";
  rmdir(dir.File("ZCD.ini").c_str());

  dir.Write("ZCD.ini", "");
  DataFolder portable = LocateDataFolder(std::nullopt, exe, env);
  EXPECT_EQ(portable.config_dir, dir.path());
  EXPECT_EQ(portable.data_dir, dir.path());
  // An explicit home still wins.
  EXPECT_EQ(LocateDataFolder("/elsewhere", exe, env).config_dir, "/elsewhere");
}

TEST(DataFolderTest, ReadOnlyFolderIsNoPortableInstall) {
  if (geteuid() == 0)
    GTEST_SKIP() << "root may write into any folder, so a read-only one stays portable";
  test::TempDir dir;
  dir.Write("zcd", "");
  dir.Write("ZCD.ini", "");
  chmod(dir.path().c_str(), 0500);
  DataFolder read_only =
      LocateDataFolder(std::nullopt, dir.File("zcd"), EnvTable({{"HOME", "/home/u"}}));
  chmod(dir.path().c_str(), 0700);
  EXPECT_EQ(read_only.config_dir, "/home/u/.config/zcd");
}

TEST(DataFolderTest, CreatesPrivateFolders) {
  test::TempDir dir;
  DataFolder folder{dir.File("config/zcd"), dir.File("share/deep/zcd")};
  ASSERT_EQ(CreateDataFolder(folder), "");
  for (const std::string& path : {folder.config_dir, folder.data_dir, dir.File("share/deep")}) {
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0) << path;
    EXPECT_TRUE(S_ISDIR(info.st_mode)) << path;
    EXPECT_EQ(info.st_mode & 0777, 0700u) << path;
  }
  // Existing folders are fine.
  EXPECT_EQ(CreateDataFolder(folder), "");
}

TEST(DataFolderTest, ReportsFoldersThatCannotBeUsed) {
  test::TempDir dir;
  dir.Write("taken", "a file");
  std::string error = CreateDataFolder({dir.File("ok"), dir.File("taken")});
  EXPECT_NE(error.find(dir.File("taken")), std::string::npos) << error;

  error = CreateDataFolder({dir.File("taken/zcd"), dir.File("taken/zcd")});
  EXPECT_NE(error.find(dir.File("taken")), std::string::npos) << error;
  EXPECT_EQ(dir.Read("taken"), "a file");
}

}  // namespace
}  // namespace zcd
