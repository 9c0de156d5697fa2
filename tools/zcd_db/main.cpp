#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/data_folder.h"
#include "tools/zcd_db/commands.h"

namespace zcd::tool {
namespace {

using Command = std::function<int(const ToolContext&, const ToolArgs&)>;

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"list", RunList},        {"show", RunShow},   {"export", RunExport}, {"import", RunImport},
      {"add-xmcd", RunAddXmcd}, {"check", RunCheck}, {"discid", RunDiscId}};
  return commands;
}

int Main(const std::vector<std::string>& raw_args) {
  const ToolArgs args = ParseToolArgs(raw_args);
  if (args.Flag("--help")) {
    std::fputs(UsageText().c_str(), stdout);
    return kExitOk;
  }
  if (!args.error.empty())
    return Report(args.error + " (see zcd-db --help)", kExitUsage);
  if (args.words.empty())
    return Report("no command given (see zcd-db --help)", kExitUsage);
  const auto command = Commands().find(args.words.front());
  if (command == Commands().end())
    return Report("unknown command " + args.words.front() + " (see zcd-db --help)", kExitUsage);

  const DataFolder folder =
      LocateDataFolder(args.Option("--home"), ExecutablePath(), ProcessEnvironment());
  ToolContext context;
  context.data_dir = folder.data_dir;
  context.db_path = args.Option("--db").value_or(folder.database_path());
  context.db_in_data_folder = !args.Option("--db");
  const int status = command->second(context, args);
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return Report("could not write the output", kExitFailed);
  return status;
}

}  // namespace
}  // namespace zcd::tool

int main(int argc, char** argv) {
  return zcd::tool::Main(std::vector<std::string>(argv + 1, argv + argc));
}
