#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zcd::tool {

// The command line of zcd-db: options (with their values) and the
// positional words, the first of which names the command.
struct ToolArgs {
  std::map<std::string, std::string> options;  // "--db" -> "FILE"; flags map to ""
  std::vector<std::string> words;
  std::string error;  // empty when the line could be read

  std::optional<std::string> Option(const std::string& name) const;
  bool Flag(const std::string& name) const { return options.count(name) != 0; }
  // The first option given that is not in allowed; none when all are.
  std::optional<std::string> Unexpected(const std::set<std::string>& allowed) const;
};

// Options may stand anywhere, as "--name VALUE" or "--name=VALUE"; "--" ends
// them, so later words may start with "-".
ToolArgs ParseToolArgs(const std::vector<std::string>& args);

}  // namespace zcd::tool
