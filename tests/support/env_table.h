#pragma once

#include <map>
#include <optional>
#include <string>

#include "app/data_folder.h"

namespace zcd::test {

// An environment made of the given variables alone.
inline EnvLookup EnvTable(std::map<std::string, std::string> table) {
  return [table = std::move(table)](std::string_view name) -> std::optional<std::string> {
    auto found = table.find(std::string(name));
    if (found == table.end())
      return std::nullopt;
    return found->second;
  };
}

}  // namespace zcd::test
