#include <cstdio>

#include "app/data_folder.h"
#include "tools/zcd_db/commands.h"

namespace zcd::tool {

int Report(const std::string& text, int status) {
  std::fprintf(stderr, "zcd-db: %s\n", text.c_str());
  return status;
}

bool PrepareToWrite(const ToolContext& context) {
  if (!context.db_in_data_folder)
    return true;
  const std::string error = CreateDataFolder(DataFolder{context.data_dir, context.data_dir});
  if (!error.empty()) {
    Report(error);
    return false;
  }
  return true;
}

}  // namespace zcd::tool
