#include "base/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <tuple>

#include "support/temp_dir.h"

namespace zcd {
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST(IniFileTest, NamesMatchWithoutRegardToCase) {
  IniFile file = IniFile::Parse("[Zentaro CD]\nNetTimeout=30\n[proxy]\nHostName=gate\n");
  EXPECT_EQ(file.GetInt("zentaro cd", "NETTIMEOUT", 20), 30);
  EXPECT_EQ(file.GetString("Proxy", "Hostname"), "gate");
  EXPECT_EQ(file.GetString("PROXY", "hostname"), "gate");
  EXPECT_EQ(file.GetInt("Zentaro CD", "Missing", 20), 20);
  EXPECT_FALSE(file.GetString("Zentaro CD", "Missing"));
  EXPECT_FALSE(file.GetString("Nowhere", "NetTimeout"));
  // A key is looked up in its own section only.
  EXPECT_FALSE(file.GetString("Zentaro CD", "HostName"));
}

TEST(IniFileTest, IntegersReadLikeTheClassicReaderAndStringsAreTrimmedAndUnquotedOnce) {
  auto value = [](const std::string& text) { return IniFile::Parse("[s]\n  k  =" + text + "\n"); };
  // An empty value reads as a missing one, not as 0; huge ones saturate.
  const std::pair<const char*, int> numbers[] = {
      {"42", 42}, {"-7", -7},     {"+8", 8}, {"  \t 13  ", 13}, {"12abc", 12}, {"abc", 0},
      {"", 20},   {"\"15\"", 15}, {"-", 0},  {"--3", 0},        {"1 2", 1}};
  for (const auto& [text, number] : numbers)
    EXPECT_EQ(value(text).GetInt("s", "k", 20), number) << text;
  EXPECT_EQ(value("99999999999999").GetInt("s", "k", 1), INT32_MAX);
  EXPECT_EQ(value("-99999999999999").GetInt("s", "k", 1), INT32_MIN);

  const std::pair<const char*, const char*> texts[] = {{"  a b  ", "a b"},
                                                       {"\" keep blanks \"", " keep blanks "},
                                                       {"\"\"x\"\"", "\"x\""},
                                                       {"\"open", "\"open"},
                                                       {"", ""},
                                                       {"caf\xe9", "caf\xe9"},
                                                       {"a=b", "a=b"}};
  for (const auto& [text, read] : texts)
    EXPECT_EQ(value(text).GetString("s", "k"), read) << text;
  EXPECT_EQ(value("caf\xe9").GetString("s", "k", 2), "ca");
  EXPECT_EQ(value("caf\xe9").GetString("s", "k", 100), "caf\xe9");
}

TEST(IniFileTest, FirstDuplicateWinsAndCommentsAreNoKeys) {
  IniFile file =
      IniFile::Parse("[s]\n;k=commented\nk=first\nk=second\n[S]\nk=other section\nonly=later\n");
  EXPECT_EQ(file.GetString("s", "k"), "first");
  EXPECT_FALSE(file.GetString("s", "only"));
  auto entries = file.Entries("s");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1], (std::pair<std::string, std::string>("k", "second")));
}

TEST(IniFileTest, ReadsBareLfAndCrLfAlike) {
  IniFile lf = IniFile::Parse("[s]\nk=v\nn=3");
  EXPECT_EQ(lf.GetString("s", "k"), "v");
  EXPECT_EQ(lf.GetInt("s", "n", 0), 3);
  EXPECT_EQ(lf.Text(), "[s]\r\nk=v\r\nn=3\r\n");
  EXPECT_EQ(IniFile::Parse(lf.Text()).Text(), lf.Text());
}

TEST(IniFileTest, WriteReplacesInPlaceAndKeepsEverythingElse) {
  std::string original =
      "; made by hand\r\n"
      "[Zentaro CD]\r\n"
      "xWinPos=1\r\n"
      "  NETTIMEOUT = 5 \r\n"
      "Unknown=keep me\r\n"
      "\r\n"
      "; about the servers\r\n"
      "[Servers]\r\n"
      "NumServers=0\r\n";
  IniFile file = IniFile::Parse(original);
  file.SetInt("zentaro cd", "NetTimeout", 30);
  file.SetString("Zentaro CD", "SkinName", "Chrome");
  file.SetString("Proxy", "Hostname", "gate");
  EXPECT_EQ(file.Text(),
            "; made by hand\r\n"
            "[Zentaro CD]\r\n"
            "xWinPos=1\r\n"
            "NETTIMEOUT=30\r\n"
            "Unknown=keep me\r\n"
            "SkinName=Chrome\r\n"
            "\r\n"
            "; about the servers\r\n"
            "[Servers]\r\n"
            "NumServers=0\r\n"
            "\r\n"
            "[Proxy]\r\n"
            "Hostname=gate\r\n");
  // Unchanged, the text comes back byte for byte.
  EXPECT_EQ(IniFile::Parse(original).Text(), original);
}

TEST(IniFileTest, WrittenValuesReadBackExactly) {
  const std::string values[] = {" lead", "trail ", "\"quoted\"", "", "plain"};
  IniFile file;
  for (size_t i = 0; i < std::size(values); ++i)
    file.SetString("s", "k" + std::to_string(i), values[i]);
  IniFile reread_values = IniFile::Parse(file.Text());
  for (size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(reread_values.GetString("s", "k" + std::to_string(i)), values[i]);
  // A value cannot smuggle a line (or a section) into the file.
  file.SetString("s", "k", "one\r\n[Proxy]\r\nHostname=evil");
  IniFile reread = IniFile::Parse(file.Text());
  EXPECT_EQ(reread.GetString("s", "k"), "one");
  EXPECT_FALSE(reread.GetString("Proxy", "Hostname"));
}

TEST(IniFileTest, DeleteRemovesSectionsAndKeys) {
  IniFile file = IniFile::Parse(
      "[Servers]\nNumServers=2\nServer0=a\n\n[Proxy]\nPort=8\nPassword=x\npassword=y\n"
      "[servers]\nServer1=b\n");
  file.DeleteSection("SERVERS");
  file.DeleteKey("proxy", "PASSWORD");
  EXPECT_EQ(file.Text(), "[Proxy]\r\nPort=8\r\n");
  file.DeleteSection("Missing");
  file.DeleteKey("Proxy", "Missing");
  EXPECT_EQ(file.Text(), "[Proxy]\r\nPort=8\r\n");
}

TEST(IniFileTest, GarbledTextGivesWhatCanBeRead) {
  const std::string junk("\x00\xff\xfe[\x01\x02=", 7);
  std::string text = junk + "\nno equals sign here\n[unclosed\n]\n[s]\nk=v\n" +
                     std::string(1 << 20, 'x') + "\n" + "long=" + std::string(100000, 'y') + "\n";
  text.insert(text.find("k=v") + 3, std::string("\0hidden", 7));
  IniFile file = IniFile::Parse(text);
  EXPECT_EQ(file.GetString("s", "k"), "v");
  EXPECT_EQ(file.GetString("s", "long", 254)->size(), 254u);
  // Lines it cannot use survive a rewrite untouched.
  file.SetString("s", "k", "w");
  IniFile reread = IniFile::Parse(file.Text());
  EXPECT_EQ(reread.GetString("s", "k"), "w");
  EXPECT_NE(file.Text().find("no equals sign here\r\n[unclosed\r\n]\r\n"), std::string::npos);
  EXPECT_EQ(file.Text().substr(0, junk.size() + 2), junk + "\r\n");
}

TEST(IniFileTest, SaveCreatesAMissingFile0600AndKeepsAtMost0600OfAnExistingMode) {
  test::TempDir dir;
  IniFile file = IniFile::Load(dir.File("ZCD.ini"));
  EXPECT_FALSE(file.load_error());
  EXPECT_EQ(file.Text(), "");
  file.SetString("Proxy", "Password", "secret");
  ASSERT_EQ(file.Save(dir.File("ZCD.ini")), "");
  EXPECT_EQ(dir.Read("ZCD.ini"), "[Proxy]\r\nPassword=secret\r\n");
  EXPECT_EQ(ModeOf(dir.File("ZCD.ini")), 0600u);

  for (const auto& [name, mode, kept] :
       {std::tuple{"open.ini", 0644, 0600}, std::tuple{"readonly.ini", 0400, 0400}}) {
    dir.Write(name, "[s]\nk=1\n");
    chmod(dir.File(name).c_str(), static_cast<mode_t>(mode));
    IniFile existing = IniFile::Load(dir.File(name));
    existing.SetInt("s", "k", 2);
    ASSERT_EQ(existing.Save(dir.File(name)), "") << name;
    EXPECT_EQ(dir.Read(name), "[s]\r\nk=2\r\n");
    EXPECT_EQ(ModeOf(dir.File(name)), static_cast<mode_t>(kept)) << name;
  }
}

TEST(IniFileTest, SaveThroughALinkReplacesTheTarget) {
  test::TempDir dir;
  dir.Write("real.ini", "[s]\nk=1\n");
  ASSERT_EQ(symlink(dir.File("real.ini").c_str(), dir.File("ZCD.ini").c_str()), 0);
  IniFile file = IniFile::Load(dir.File("ZCD.ini"));
  file.SetInt("s", "k", 2);
  ASSERT_EQ(file.Save(dir.File("ZCD.ini")), "");
  struct stat info {};
  ASSERT_EQ(lstat(dir.File("ZCD.ini").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(dir.Read("real.ini"), "[s]\r\nk=2\r\n");
}

TEST(IniFileTest, FailedSavesReportAndDamageNothing) {
  test::TempDir dir;
  dir.Write("file", "not a folder");
  IniFile file = IniFile::Parse("[s]\nk=1\n");
  std::string error = file.Save(dir.File("file") + "/ZCD.ini");
  EXPECT_NE(error.find(dir.File("file") + "/ZCD.ini"), std::string::npos) << error;
  EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;
  EXPECT_EQ(dir.Read("file"), "not a folder");

  // What could not be read is not replaced by a partial copy. A folder in
  // the file's place is unreadable even for root.
  ASSERT_EQ(mkdir(dir.File("ZCD.ini").c_str(), 0700), 0);
  dir.Write("ZCD.ini/inside", "kept");
  IniFile unreadable = IniFile::Load(dir.File("ZCD.ini"));
  ASSERT_TRUE(unreadable.load_error());
  unreadable.SetInt("s", "k", 1);
  EXPECT_NE(unreadable.Save(dir.File("ZCD.ini")), "");
  EXPECT_EQ(dir.Read("ZCD.ini/inside"), "kept");
}

TEST(IniFileTest, FailedSaveInReadOnlyFolderKeepsTheOldFile) {
  if (geteuid() == 0)
    GTEST_SKIP() << "root writes into read-only folders, so the save cannot fail here";
  test::TempDir dir;
  dir.Write("ZCD.ini", "[s]\nk=old\n");
  ASSERT_EQ(chmod(dir.path().c_str(), 0500), 0);
  IniFile file = IniFile::Load(dir.File("ZCD.ini"));
  file.SetString("s", "k", "new");
  std::string error = file.Save(dir.File("ZCD.ini"));
  chmod(dir.path().c_str(), 0700);
  EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
  EXPECT_EQ(dir.Read("ZCD.ini"), "[s]\nk=old\n");
}

}  // namespace
}  // namespace zcd
