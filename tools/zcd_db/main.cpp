#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/data_folder.h"
#include "discdb/database.h"
#include "tools/zcd_db/commands.h"

namespace zcd::tool {
namespace {

// kStores: writes with --store, else leaves the database alone.
enum class DbUse { kNone, kReads, kWrites, kStores };

struct Command {
  std::function<int(const ToolContext&, const ToolArgs&)> run;
  DbUse use;
};

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"list", {RunList, DbUse::kReads}},      {"show", {RunShow, DbUse::kReads}},
      {"export", {RunExport, DbUse::kReads}},  {"check", {RunCheck, DbUse::kReads}},
      {"import", {RunImport, DbUse::kWrites}}, {"add-xmcd", {RunAddXmcd, DbUse::kWrites}},
      {"discid", {RunDiscId, DbUse::kNone}},   {"query", {RunQuery, DbUse::kStores}},
      {"submit", {RunSubmit, DbUse::kReads}}};
  return commands;
}

// A database file the command cannot use, refused before anything touches it
// so that no lock or journal lands beside a file that is not ours. A
// database the user named must exist to be read; the data folder's may not
// exist yet (nothing learned so far), and writers create either.
std::optional<std::string> DatabaseProblem(const ToolContext& context, DbUse use) {
  const std::string name = "'" + context.db_path + "'";
  switch (use == DbUse::kNone ? DbFileState::kDatabase : DbProbe(context.db_path)) {
    case DbFileState::kMissing:
      if (use == DbUse::kReads && !context.db_in_data_folder)
        return name + " does not exist";
      return std::nullopt;
    case DbFileState::kUnreadable:
      return name + " cannot be read";
    case DbFileState::kEmpty:
      if (use == DbUse::kReads)
        return name + " is empty, not a ZCD database";
      return std::nullopt;
    case DbFileState::kNotADatabase:
      return name + " is not a ZCD database";
    case DbFileState::kDatabase:
      return std::nullopt;
  }
  return std::nullopt;
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
  context.ini_path = folder.ini_path();
  context.db_path = args.Option("--db").value_or(folder.database_path());
  context.db_in_data_folder = !args.Option("--db");
  DbUse use = command->second.use;
  if (use == DbUse::kStores)
    use = args.Flag("--store") ? DbUse::kWrites : DbUse::kNone;
  if (const auto problem = DatabaseProblem(context, use))
    return Report(*problem);
  const int status = command->second.run(context, args);
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return Report("could not write the output", kExitFailed);
  return status;
}

}  // namespace
}  // namespace zcd::tool

int main(int argc, char** argv) {
  return zcd::tool::Main(std::vector<std::string>(argv + 1, argv + argc));
}
