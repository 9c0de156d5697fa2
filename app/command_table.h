#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "base/menu.h"

namespace zcd {

// Every command of the player as data: what it does and when it is enabled
// or checked. Menus, keys, skinned buttons, the command line and the tray
// all go through one table, so a command behaves the same wherever it comes
// from, and a menu shows the state the command would act on. Window thread
// only.
class CommandTable {
 public:
  // The id and the command message's extra parameter; the result is what
  // the command reports to its sender (0 unless a command says otherwise).
  using Action = std::function<int(int64_t id, int64_t param)>;
  using Test = std::function<bool(int64_t id)>;

  // Ids first..last, both included. An empty enabled test means always; an
  // empty checked test means never.
  void Add(int64_t first, int64_t last, Action action, Test enabled = {}, Test checked = {});
  void Add(std::initializer_list<int64_t> ids, const Action& action, const Test& enabled = {},
           const Test& checked = {});

  bool Known(int64_t id) const { return Find(id) != nullptr; }
  bool Enabled(int64_t id) const;
  bool Checked(int64_t id) const;
  // Runs an enabled command; none for an unknown or disabled one.
  std::optional<int> Run(int64_t id, int64_t param = 0) const;
  // Sets enabled and checked of every command item the table knows, in
  // submenus too; other items keep theirs.
  void ApplyTo(Menu& menu) const;

 private:
  struct Entry {
    int64_t first;
    int64_t last;
    Action action;
    Test enabled;
    Test checked;
  };
  const Entry* Find(int64_t id) const;

  std::vector<Entry> entries_;
};

}  // namespace zcd
