#include "discdb/db_key_table.h"

#include <algorithm>
#include <cstring>

#include "discdb/db_format.h"
#include "discdb/db_key_match.h"

namespace zcd {
namespace {

constexpr size_t kTailLength = 8;

uint64_t PackTail(std::string_view tail) {
  uint64_t packed = 0;
  std::memcpy(&packed, tail.data(), kTailLength);
  return packed;
}

// Category and identifier of an ordinary key; none for any other key.
std::optional<std::pair<std::string_view, std::string_view>> SplitOrdinary(std::string_view key) {
  const auto slash = key.find('/');
  if (slash == std::string_view::npos || key.size() - slash - 1 != kTailLength ||
      key.find('/', slash + 1) != std::string_view::npos)
    return std::nullopt;
  return std::pair(key.substr(0, slash), key.substr(slash + 1));
}

}  // namespace

size_t DbKeyTable::SlotIndex(uint64_t tail) const {
  const size_t mask = slots_.size() - 1;
  size_t i = static_cast<size_t>((tail * 0x9E3779B97F4A7C15ull) >> 20) & mask;
  while (slots_[i].used() && slots_[i].tail != tail)
    i = (i + 1) & mask;
  return i;
}

void DbKeyTable::Grow(size_t capacity) {
  size_t size = 1024;
  while (size < capacity)
    size *= 2;
  if (size <= slots_.size())
    return;
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(size, Slot{});
  for (const Slot& slot : old) {
    if (slot.used())
      slots_[SlotIndex(slot.tail)] = slot;
  }
}

void DbKeyTable::Reserve(size_t rows, size_t key_bytes) {
  arena_.reserve(key_bytes);
  key_start_.reserve(rows);
  key_length_.reserve(rows);
  flags_.reserve(rows);
  next_.reserve(rows);
  prev_.reserve(rows);
  Grow(rows * 2);
}

DbKeyTable::Slot& DbKeyTable::SlotFor(uint64_t tail) {
  if ((slots_used_ + 1) * 2 > slots_.size())
    Grow(slots_.size() * 2);
  Slot& slot = slots_[SlotIndex(tail)];
  if (!slot.used()) {
    slot.first = kNone;
    slot.tail = tail;
    ++slots_used_;
  }
  return slot;
}

uint32_t DbKeyTable::Append(std::string_view key) {
  const uint32_t row = size();
  key_start_.push_back(static_cast<uint32_t>(arena_.size()));
  key_length_.push_back(static_cast<uint8_t>(key.size()));
  arena_.insert(arena_.end(), key.begin(), key.end());
  next_.push_back(kNone);
  prev_.push_back(kNone);
  ++live_count_;
  const auto parts = SplitOrdinary(key);
  if (!parts) {
    flags_.push_back(kLive);
    unusual_.push_back(row);
    return row;
  }
  flags_.push_back(kLive | kOrdinary);
  ++head_counts_[std::string(parts->first)];
  Slot& slot = SlotFor(PackTail(parts->second));
  if (slot.first == kNone) {
    slot.first = row;
  } else {
    next_[slot.last] = row;
    prev_[row] = slot.last;
  }
  slot.last = row;
  return row;
}

void DbKeyTable::Erase(uint32_t row) {
  if (!live(row))
    return;
  flags_[row] &= static_cast<uint8_t>(~kLive);
  --live_count_;
  if (!(flags_[row] & kOrdinary)) {
    // Erased unusual rows are skipped by every scan; drop them once they
    // outnumber the live ones.
    if (++unusual_erased_ > 64 && unusual_erased_ * 2 > unusual_.size()) {
      std::erase_if(unusual_, [this](uint32_t r) { return !live(r); });
      unusual_erased_ = 0;
    }
    return;
  }
  const auto parts = SplitOrdinary(key(row));
  auto count = head_counts_.find(std::string(parts->first));
  if (--count->second == 0)
    head_counts_.erase(count);
  Slot& slot = slots_[SlotIndex(PackTail(parts->second))];
  (prev_[row] == kNone ? slot.first : next_[prev_[row]]) = next_[row];
  (next_[row] == kNone ? slot.last : prev_[next_[row]]) = prev_[row];
  next_[row] = prev_[row] = kNone;
}

bool DbKeyTable::AnyHeadContains(std::string_view text) const {
  for (const auto& [head, count] : head_counts_) {
    if (head.size() >= text.size() && head.find(text) != std::string::npos)
      return true;
  }
  return false;
}

template <typename Visit>
void DbKeyTable::ForEachMatch(std::string_view search, Visit&& visit) const {
  const std::string_view text = SearchText(search);
  const bool whole = IsFullKey(text);
  const auto contains = [&](uint32_t row) {
    return live(row) && (whole ? key(row) == text : key(row).find(text) != std::string_view::npos);
  };
  const auto scan_all = [&] {
    for (uint32_t row = 0; row < size(); ++row) {
      if (contains(row) && !visit(row))
        return;
    }
  };

  // Which ordinary rows can hold the text: those whose identifier equals
  // `tail` and whose category ends with `head_end`.
  std::string_view tail;
  std::string_view head_end;
  bool ordinary_possible = true;
  const auto slash = text.find('/');
  if (text.empty()) {
    return scan_all();
  } else if (slash == std::string_view::npos) {
    if (AnyHeadContains(text) || text.size() < kTailLength)
      return scan_all();
    ordinary_possible = text.size() == kTailLength;
    tail = text;
  } else if (text.find('/', slash + 1) == std::string_view::npos) {
    head_end = text.substr(0, slash);
    tail = text.substr(slash + 1);
    if (tail.size() < kTailLength)
      return scan_all();
    ordinary_possible = tail.size() == kTailLength;
  } else {
    ordinary_possible = false;
  }

  // Merge the chain with the unusual rows, both in index order.
  uint32_t chain = kNone;
  if (ordinary_possible && !slots_.empty()) {
    const Slot& slot = slots_[SlotIndex(PackTail(tail))];
    if (slot.used())
      chain = slot.first;
  }
  size_t u = 0;
  const auto next_unusual = [&] {
    while (u < unusual_.size() && !contains(unusual_[u]))
      ++u;
    return u < unusual_.size() ? unusual_[u] : kNone;
  };
  const auto next_chain = [&] {
    while (chain != kNone) {
      const std::string_view k = key(chain);
      const std::string_view head = k.substr(0, k.size() - kTailLength - 1);
      if (whole ? head == head_end : head.ends_with(head_end))
        break;
      chain = next_[chain];
    }
    return chain;
  };
  for (;;) {
    const uint32_t a = next_chain();
    const uint32_t b = next_unusual();
    if (a == kNone && b == kNone)
      return;
    if (a < b) {
      if (!visit(a))
        return;
      chain = next_[chain];
    } else {
      if (!visit(b))
        return;
      ++u;
    }
  }
}

std::optional<uint32_t> DbKeyTable::First(std::string_view search) const {
  std::optional<uint32_t> found;
  ForEachMatch(search, [&](uint32_t row) {
    found = row;
    return false;
  });
  return found;
}

std::vector<uint32_t> DbKeyTable::All(std::string_view search) const {
  std::vector<uint32_t> rows;
  ForEachMatch(search, [&](uint32_t row) {
    rows.push_back(row);
    return true;
  });
  return rows;
}

}  // namespace zcd
