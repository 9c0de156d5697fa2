#include "tools/zcd_db/tool_args.h"

namespace zcd::tool {
namespace {

const std::set<std::string> kValueOptions = {
    "--home",  "--db",         "--category",   "--artist",  "--disc",
    "--rule",  "-o",           "--output",     "--server",  "--http",
    "--proxy", "--proxy-user", "--proxy-pass", "--timeout", "--pick"};
// Each flag under the name commands look it up by.
const std::map<std::string, std::string> kFlagOptions = {
    {"--help", "--help"}, {"-h", "--help"}, {"--store", "--store"}};

}  // namespace

std::optional<std::string> ToolArgs::Option(const std::string& name) const {
  const auto found = options.find(name);
  if (found == options.end())
    return std::nullopt;
  return found->second;
}

std::optional<std::string> ToolArgs::Unexpected(const std::set<std::string>& allowed) const {
  for (const auto& [name, value] : options) {
    if (!allowed.count(name))
      return name;
  }
  return std::nullopt;
}

ToolArgs ParseToolArgs(const std::vector<std::string>& args) {
  ToolArgs parsed;
  bool options_end = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_end || arg.size() < 2 || arg[0] != '-') {
      parsed.words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_end = true;
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (const auto flag = kFlagOptions.find(name);
        flag != kFlagOptions.end() && equals == std::string::npos) {
      parsed.options[flag->second] = "";
    } else if (kValueOptions.count(name)) {
      std::string value;
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else if (parsed.error.empty()) {
        parsed.error = name + " needs a value";
        continue;
      }
      const std::string canonical = name == "--output" ? "-o" : name;
      if (parsed.options.count(canonical) && parsed.error.empty())
        parsed.error = name + " is given twice";
      parsed.options[canonical] = value;
    } else if (parsed.error.empty()) {
      parsed.error = "unknown option " + arg;
    }
  }
  return parsed;
}

}  // namespace zcd::tool
