#include "app/command_table.h"

namespace zcd {

void CommandTable::Add(int64_t first, int64_t last, Action action, Test enabled, Test checked) {
  entries_.push_back({first, last, std::move(action), std::move(enabled), std::move(checked)});
}

void CommandTable::Add(std::initializer_list<int64_t> ids, const Action& action,
                       const Test& enabled, const Test& checked) {
  for (int64_t id : ids)
    Add(id, id, action, enabled, checked);
}

const CommandTable::Entry* CommandTable::Find(int64_t id) const {
  for (const Entry& entry : entries_) {
    if (id >= entry.first && id <= entry.last)
      return &entry;
  }
  return nullptr;
}

bool CommandTable::Enabled(int64_t id) const {
  const Entry* entry = Find(id);
  return entry != nullptr && (!entry->enabled || entry->enabled(id));
}

bool CommandTable::Checked(int64_t id) const {
  const Entry* entry = Find(id);
  return entry != nullptr && entry->checked && entry->checked(id);
}

std::optional<int> CommandTable::Run(int64_t id, int64_t param) const {
  const Entry* entry = Find(id);
  if (entry == nullptr || (entry->enabled && !entry->enabled(id)))
    return std::nullopt;
  return entry->action(id, param);
}

void CommandTable::ApplyTo(Menu& menu) const {
  for (MenuItem& item : menu) {
    if (item.kind == MenuItem::Kind::kSubmenu) {
      ApplyTo(item.items);
    } else if (item.kind == MenuItem::Kind::kCommand && Known(item.command)) {
      item.enabled = Enabled(item.command);
      item.checked = Checked(item.command);
    }
  }
}

}  // namespace zcd
