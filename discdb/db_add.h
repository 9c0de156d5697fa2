#pragma once

#include <string>
#include <string_view>

#include "discdb/db_lock.h"

namespace zcd {

// DbAddEntry for a caller that already holds the database's exclusive lock.
int DbAddLocked(const std::string& db_path, DbLock& lock, std::string_view key,
                std::string_view text);

}  // namespace zcd
