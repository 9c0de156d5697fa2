#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "discdb/exporter.h"

namespace zcd {

// The three formats in the order the Export page lists them: plain text,
// cdplayer.ini, raw CDDB. data_dir is where cdplayer.ini lives.
std::vector<std::unique_ptr<Exporter>> MakeExporters(const std::string& data_dir);

// Walks the database once, writing what the exporter makes of every entry to
// its file name with its open mode. False, with error set to a sentence for
// the user, when the exporter has no scope, the database cannot be read, is
// not a database or is damaged, the output would be the database itself, or
// the output cannot be opened or written. The output file is not touched
// unless the database can be walked.
// exported, when given, counts the entries written; progress, when given,
// hears that count after every entry of the database.
// Any thread (progress is called on it); the database's own locks keep
// writers out while it reads.
bool DbForEachEntry(const std::string& db_path, const Exporter& exporter,
                    std::string* error = nullptr, int64_t* exported = nullptr,
                    const std::function<void(int64_t written)>& progress = {});

}  // namespace zcd
