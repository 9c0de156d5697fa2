#pragma once

#include <string>
#include <string_view>

#include "tools/zcd_db/tool_args.h"

namespace zcd::tool {

// Exit statuses: success, a failure the command met, a command line it
// cannot use, a CDDB server that could not be reached or did not answer.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNetwork = 3;

struct ToolContext {
  std::string db_path;
  std::string ini_path;  // the player's settings
  std::string data_dir;
  // Whether the data folder may need creating before the database is written.
  bool db_in_data_folder = true;
};

// "zcd-db: TEXT" on standard error; returns status.
int Report(const std::string& text, int status = kExitFailed);
// Creates the data folder for commands that write the database.
bool PrepareToWrite(const ToolContext& context);

// The terminal speaks UTF-8, the database Windows-1252: arguments that are
// matched against stored texts, in the stored encoding (an argument that is
// not UTF-8 is taken as 8-bit text already)...
std::string StoredText(const std::string& argument);
// ...and stored texts on standard output in UTF-8.
void PrintStored(std::string_view stored);

int RunList(const ToolContext& context, const ToolArgs& args);
int RunShow(const ToolContext& context, const ToolArgs& args);
int RunExport(const ToolContext& context, const ToolArgs& args);
int RunImport(const ToolContext& context, const ToolArgs& args);
int RunAddXmcd(const ToolContext& context, const ToolArgs& args);
int RunCheck(const ToolContext& context, const ToolArgs& args);
int RunDiscId(const ToolContext& context, const ToolArgs& args);
int RunQuery(const ToolContext& context, const ToolArgs& args);
int RunSubmit(const ToolContext& context, const ToolArgs& args);

std::string UsageText();

}  // namespace zcd::tool
