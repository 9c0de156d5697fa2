#include <cstdio>
#include <string>

#include "discdb/disc_id.h"
#include "tools/zcd_db/commands.h"
#include "tools/zcd_db/disc_timing_args.h"

namespace zcd::tool {

int RunDiscId(const ToolContext& /*context*/, const ToolArgs& args) {
  if (auto bad = args.Unexpected({"--home", "--db"}))
    return Report("discid does not take " + *bad, kExitUsage);
  std::string error;
  const std::optional<DiscTiming> timing = ParseDiscTiming(std::span(args.words).subspan(1), error);
  if (!timing)
    return Report(error, kExitUsage);
  std::printf("CDDB disc id: %s\ncdplayer.ini key: %s\n",
              DiscIdText(ComputeCddbDiscId(*timing)).c_str(), CdPlayerIniKey(*timing).c_str());
  return kExitOk;
}

}  // namespace zcd::tool
