#pragma once

#include <chrono>
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

// Runs the real zcd-db in dir's "work" folder with its "home" folder as the
// data folder, standard input from `input` and standard output and standard
// error kept apart.
inline ToolRun RunZcdDb(const TempDir& dir, const std::vector<std::string>& args,
                        const std::string& input = "") {
  std::filesystem::create_directories(dir.File("work"));
  dir.Write("in.txt", input);
  std::vector<std::string> argv = {
      "/bin/sh",        "-c",          "cd \"$0\" && exec \"$@\" <\"$IN\" >\"$OUT\" 2>\"$ERR\"",
      dir.File("work"), ZCD_DB_BINARY, "--home",
      dir.File("home")};
  argv.insert(argv.end(), args.begin(), args.end());
  const std::vector<std::string> env = {"IN=" + dir.File("in.txt"), "OUT=" + dir.File("out.txt"),
                                        "ERR=" + dir.File("err.txt"), "HOME=" + dir.path(),
                                        "PATH=/usr/bin:/bin"};
  ChildProcess child(argv, env, dir.File("shell.txt"));
  const int status = child.Wait(std::chrono::seconds(60)).value_or(-1);
  return {status, dir.Read("out.txt"), dir.Read("err.txt")};
}

}  // namespace zcd::test
