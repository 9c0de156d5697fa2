#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace zcd::test {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// A home folder for zcd-db and a working folder to run it in.
class ZcdDbTest : public ::testing::Test {
 protected:
  ZcdDbTest() {
    std::filesystem::create_directories(dir_.File("home"));
    std::filesystem::create_directories(dir_.File("work"));
  }

  // Runs the real binary in the working folder with the home folder, its
  // standard output and standard error kept apart.
  ToolRun Run(const std::vector<std::string>& args) const {
    std::vector<std::string> argv = {"/bin/sh",
                                     "-c",
                                     "cd \"$0\" && exec \"$@\" >\"$OUT\" 2>\"$ERR\"",
                                     dir_.File("work"),
                                     ZCD_DB_BINARY,
                                     "--home",
                                     home()};
    argv.insert(argv.end(), args.begin(), args.end());
    const std::vector<std::string> env = {"OUT=" + dir_.File("out.txt"),
                                          "ERR=" + dir_.File("err.txt"), "HOME=" + dir_.path(),
                                          "PATH=/usr/bin:/bin"};
    ChildProcess child(argv, env, dir_.File("shell.txt"));
    ToolRun run;
    run.status = child.Wait(std::chrono::seconds(60)).value_or(-1);
    run.out = dir_.Read("out.txt");
    run.err = dir_.Read("err.txt");
    return run;
  }

  std::string home() const { return dir_.File("home"); }
  std::string db() const { return dir_.File("home/ZCD.zdb"); }
  std::string work(const std::string& name) const { return dir_.File("work/" + name); }

  TempDir dir_;
};

// An entry as the program stores it, two tracks.
inline std::string ToolEntry(const std::string& category, const std::string& id,
                             const std::string& title) {
  return "200 " + category + " " + id +
         "\r\n# xmcd CD database file\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t4650\r\n"
         "#\r\n# Disc length: 200 seconds\r\n#\r\nDISCID=" +
         id + "\r\nDTITLE=" + title + "\r\nTTITLE0=One\r\nTTITLE1=Two\r\nEXTD=\r\n.\r\n";
}

}  // namespace zcd::test
