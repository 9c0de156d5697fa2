#include <cstdio>
#include <string>

#include "base/text.h"
#include "discdb/database.h"
#include "discdb/entry_text.h"
#include "discdb/slash_split.h"
#include "tools/zcd_db/commands.h"

namespace zcd::tool {
int RunList(const ToolContext& context, const ToolArgs& args) {
  if (auto bad = args.Unexpected({"--home", "--db", "--category"}))
    return Report("list does not take " + *bad, kExitUsage);
  if (args.words.size() != 1)
    return Report("list takes no arguments besides --category", kExitUsage);
  std::optional<std::string> filter = args.Option("--category");
  if (filter)
    filter = StoredText(*filter);
  // One pass in index order (oldest first), the disc title beside each key.
  const DbWalkResult walked =
      DbWalkEntries(context.db_path, [&](std::string_view key, std::string_view text) {
        const std::optional<std::string> category = SplitBeforeSlash(std::string(key));
        if (!category || (filter && !EqualsIgnoringCase(*category, *filter)))
          return true;
        PrintStored(std::string(key) + "\t" + GetEntryValue("DTITLE=", text).value_or("") + "\n");
        return true;
      });
  switch (walked) {
    case DbWalkResult::kNotADatabase:
      return Report("'" + context.db_path + "' is not a ZCD database");
    case DbWalkResult::kDamaged:
      return Report("'" + context.db_path + "' is damaged; run zcd-db check");
    default:
      return kExitOk;
  }
}

int RunShow(const ToolContext& context, const ToolArgs& args) {
  if (auto bad = args.Unexpected({"--home", "--db"}))
    return Report("show does not take " + *bad, kExitUsage);
  if (args.words.size() != 2 || args.words[1].empty())
    return Report("show needs one disc identifier or key", kExitUsage);
  const std::optional<std::string> entry = DbFindEntry(context.db_path, StoredText(args.words[1]));
  if (!entry)
    return Report("no entry matches '" + args.words[1] + "'");
  PrintStored(*entry);
  return kExitOk;
}

int RunCheck(const ToolContext& context, const ToolArgs& args) {
  if (auto bad = args.Unexpected({"--home", "--db"}))
    return Report("check does not take " + *bad, kExitUsage);
  if (args.words.size() != 1)
    return Report("check takes no arguments", kExitUsage);
  const std::vector<std::string> problems = DbCheck(context.db_path);
  for (const std::string& problem : problems)
    std::printf("%s: %s\n", context.db_path.c_str(), problem.c_str());
  if (!problems.empty())
    return kExitFailed;
  std::printf("%s: no damage found\n", context.db_path.c_str());
  return kExitOk;
}

}  // namespace zcd::tool
