#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "discdb/db_lock.h"

namespace zcd {

// DbAddEntry for a caller that already holds the database's exclusive lock.
int DbAddLocked(const std::string& db_path, DbLock& lock, std::string_view key,
                std::string_view text);

// How many index bytes a write moves at a time (see DbSetIndexMoveChunk).
// Any thread.
int64_t DbIndexMoveChunk();

}  // namespace zcd
