#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "discdb/database.h"
#include "tools/zcd_db/commands.h"
#include "tools/zcd_db/xmcd_file.h"

namespace zcd::tool {
namespace {

namespace fs = std::filesystem;

// Far beyond any real entry; keeps a stray large file from being read whole.
constexpr std::uintmax_t kMaxEntryBytes = 1 << 20;

// Every regular file under the paths, a folder's files in name order so
// that runs over the same tree store the same file.
bool CollectFiles(const std::vector<std::string>& paths, std::vector<fs::path>& files) {
  bool all_found = true;
  for (const std::string& path : paths) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
      std::vector<fs::path> found;
      for (fs::recursive_directory_iterator it(path, error), end; !error && it != end;
           it.increment(error)) {
        if (it->is_regular_file(error))
          found.push_back(it->path());
      }
      if (error) {
        Report("could not read the folder '" + path + "': " + error.message());
        all_found = false;
      }
      std::sort(found.begin(), found.end());
      files.insert(files.end(), found.begin(), found.end());
    } else if (fs::is_regular_file(path, error)) {
      files.emplace_back(path);
    } else {
      Report("'" + path + "' is neither a file nor a folder");
      all_found = false;
    }
  }
  return all_found;
}

std::optional<std::string> ReadSmallFile(const fs::path& path, std::string& error) {
  std::error_code size_error;
  if (fs::file_size(path, size_error) > kMaxEntryBytes && !size_error) {
    error = "is too large for an xmcd entry";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  if (!in && !in.eof()) {
    error = "could not be read";
    return std::nullopt;
  }
  return content.str();
}

std::string Counted(int64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

int RunAddXmcd(const ToolContext& context, const ToolArgs& args) {
  if (auto bad = args.Unexpected({"--home", "--db"}))
    return Report("add-xmcd does not take " + *bad, kExitUsage);
  if (args.words.size() < 2)
    return Report("add-xmcd needs xmcd files or folders", kExitUsage);
  std::vector<fs::path> files;
  bool clean = CollectFiles({args.words.begin() + 1, args.words.end()}, files);
  if (!PrepareToWrite(context))
    return kExitFailed;
  std::string error;
  const std::unique_ptr<DbSession> session = DbSession::Open(context.db_path, &error);
  if (!session)
    return Report(error);

  int64_t added = 0;
  int64_t replaced = 0;
  int64_t skipped = 0;
  for (const fs::path& file : files) {
    std::optional<std::string> content = ReadSmallFile(file, error);
    std::optional<XmcdEntry> entry;
    if (content) {
      entry = ReadXmcdEntry(*content, file.parent_path().filename().string(),
                            file.filename().string(), error);
    }
    if (!entry) {
      Report("skipped '" + file.string() + "': it " + error);
      ++skipped;
      continue;
    }
    // A newer copy of a disc replaces the one under the same key, as a fetch does.
    if (session->Has(entry->key)) {
      session->Delete(entry->key);
      ++replaced;
    }
    if (session->Add(entry->key, entry->text) != 1) {
      Report("skipped '" + file.string() + "': the database cannot hold it");
      ++skipped;
      continue;
    }
    ++added;
  }
  if (session->Commit() != 1)
    return Report("could not write '" + context.db_path + "'; it is unchanged");
  std::printf("Added %s (%lld replacing older ones), skipped %s\n",
              Counted(added, "entry", "entries").c_str(), static_cast<long long>(replaced),
              Counted(skipped, "file", "files").c_str());
  return clean && skipped == 0 ? kExitOk : kExitFailed;
}

}  // namespace zcd::tool
