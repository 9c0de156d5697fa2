#include <cstdio>

#include "app/data_folder.h"
#include "base/windows1252.h"
#include "discdb/entry_text_encoding.h"
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

std::string StoredText(const std::string& argument) {
  return EntryBytesToStored(argument);
}

void PrintStored(std::string_view stored) {
  const std::string utf8 = Windows1252ToUtf8(stored);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

}  // namespace zcd::tool
