#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zcd {

// The "--" options, taken off the command line before the rest goes to
// ParseCommandLine.
struct LongOptions {
  std::vector<std::string> virtual_drives;
  std::optional<std::string> home;
  bool help = false;
  bool version = false;
  bool verbose = false;
  // The remaining arguments joined by blanks: the command-line tail.
  std::string rest;
  // Unknown options or a missing value; empty when all is well.
  std::string error;
};

LongOptions TakeLongOptions(const std::vector<std::string>& args);

// The text of --help.
std::string UsageText();

}  // namespace zcd
