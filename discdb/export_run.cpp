#include "discdb/export_run.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "discdb/database.h"
#include "discdb/export_file_writer.h"
#include "discdb/exporter_cdplayer_ini.h"
#include "discdb/exporter_plain_text.h"
#include "discdb/exporter_raw_cddb.h"

namespace zcd {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {};
  struct stat sb {};
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool Failed(std::string* error, std::string text) {
  if (error)
    *error = std::move(text);
  return false;
}

}  // namespace

std::vector<std::unique_ptr<Exporter>> MakeExporters(const std::string& data_dir) {
  std::vector<std::unique_ptr<Exporter>> exporters;
  exporters.push_back(std::make_unique<PlainTextExporter>());
  exporters.push_back(std::make_unique<CdPlayerIniExporter>(data_dir));
  exporters.push_back(std::make_unique<RawCddbExporter>());
  return exporters;
}

bool DbForEachEntry(const std::string& db_path, const Exporter& exporter, std::string* error,
                    int64_t* exported, const std::function<void(int64_t written)>& progress) {
  int64_t written = 0;
  if (exporter.scope().empty())
    return Failed(error, "Nothing was chosen to export.");
  if (exporter.file_name().empty())
    return Failed(error, "No file name was given for the export.");
  struct stat db_stat {};
  if (stat(db_path.c_str(), &db_stat) != 0)
    return Failed(error, "Could not open '" + db_path + "': " + std::strerror(errno) + ".");
  // Replacing or appending to the database would destroy the very entries being read.
  if (SameFile(db_path, exporter.file_name()))
    return Failed(error, "The export would overwrite the database '" + db_path + "'.");

  // Opened at the first row, so a database that cannot be walked leaves the
  // output as it was.
  std::optional<ExportFileWriter> writer;
  auto output = [&]() -> ExportFileWriter& {
    if (!writer)
      writer.emplace(exporter.file_name(), exporter.open_mode());
    return *writer;
  };
  const DbWalkResult walked =
      DbWalkEntries(db_path, [&](std::string_view /*key*/, std::string_view text) {
        ExportFileWriter& out = output();
        if (!out.ok())
          return false;
        const std::optional<std::string> formatted = exporter.FormatEntry(text);
        written += formatted ? 1 : 0;
        if (formatted && !out.Write(*formatted))
          return false;
        if (progress)
          progress(written);
        return true;
      });

  switch (walked) {
    case DbWalkResult::kDone:
      break;
    case DbWalkResult::kMissing:
      return Failed(error, "Could not open '" + db_path + "'.");
    case DbWalkResult::kNotADatabase:
      return Failed(error, "'" + db_path + "' is not a ZCD database.");
    case DbWalkResult::kDamaged:
      if (writer)
        writer->Close();
      return Failed(error, "The database '" + db_path +
                               "' is damaged; the export holds the entries before the damage.");
    case DbWalkResult::kStopped:
      break;
  }
  if (!output().Close())
    return Failed(error, output().error());
  if (exported)
    *exported = written;
  return true;
}

}  // namespace zcd
