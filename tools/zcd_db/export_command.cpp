#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "discdb/database.h"
#include "discdb/entry_text.h"
#include "discdb/export_run.h"
#include "discdb/exporter_cdplayer_ini.h"
#include "tools/zcd_db/commands.h"

namespace zcd::tool {
namespace {

namespace fs = std::filesystem;

// Position in MakeExporters' list, and the options a script gets: everything
// a format offers, except that cdplayer.ini output goes to its own file
// rather than into (or over) the player's cdplayer.ini.
struct FormatChoice {
  size_t index;
  uint32_t options;
};

const std::map<std::string, FormatChoice> kFormats = {
    {"plain", {0, 0xff}},
    {"ini", {1, CdPlayerIniExporter::kDifferentFileName}},
    {"raw", {2, 0xff}},
};

std::optional<std::string> ScopeFrom(const ToolContext& context, const ToolArgs& args,
                                     std::string& error) {
  const auto category = args.Option("--category");
  const auto artist = args.Option("--artist");
  const auto disc = args.Option("--disc");
  if (int(category.has_value()) + int(artist.has_value()) + int(disc.has_value()) > 1) {
    error = "export takes only one of --category, --artist and --disc";
    return std::nullopt;
  }
  if (category)
    return CategoryScope(StoredText(*category));
  if (artist)
    return ArtistScope(StoredText(*artist));
  if (disc) {
    // The disc title only labels the section; the identifier selects it.
    const std::string id = StoredText(*disc);
    const std::string entry = DbFindEntry(context.db_path, id).value_or("");
    return DiscScope(GetEntryValue("DTITLE=", entry).value_or(""), id);
  }
  return std::string(kExportAllScope);
}

}  // namespace

int RunExport(const ToolContext& context, const ToolArgs& args) {
  if (auto bad = args.Unexpected({"--home", "--db", "--category", "--artist", "--disc", "-o"}))
    return Report("export does not take " + *bad, kExitUsage);
  if (args.words.size() != 2)
    return Report("export needs one format: plain, ini or raw", kExitUsage);
  const auto format = kFormats.find(args.words[1]);
  if (format == kFormats.end())
    return Report("unknown export format " + args.words[1] + " (plain, ini or raw)", kExitUsage);
  std::string error;
  std::optional<std::string> scope = ScopeFrom(context, args, error);
  if (!scope)
    return Report(error, kExitUsage);

  auto exporters = MakeExporters(context.data_dir);
  Exporter& exporter = *exporters[format->second.index];
  exporter.ReadOptions(format->second.options);
  exporter.set_scope(std::move(*scope));
  exporter.DefaultFileName();
  const bool to_stdout = args.Option("-o") == "-";
  if (auto output = args.Option("-o"))
    exporter.set_file_name(to_stdout ? "/dev/stdout" : *output);
  int64_t exported = 0;
  if (!DbForEachEntry(context.db_path, exporter, &error, &exported))
    return Report(error);
  std::error_code ignored;
  const std::string where =
      to_stdout ? "standard output" : fs::absolute(exporter.file_name(), ignored).string();
  // Finding nothing is an answer, not a failure; standard error keeps the
  // notice in sight when the output is piped on.
  if (exported == 0)
    Report("no entry matched; " + where + " holds no entries", kExitOk);
  else if (!to_stdout)
    std::printf("Exported %lld %s to %s\n", static_cast<long long>(exported),
                exported == 1 ? "entry" : "entries", where.c_str());
  return kExitOk;
}

}  // namespace zcd::tool
