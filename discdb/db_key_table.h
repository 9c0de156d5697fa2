#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zcd {

// The keys of a session's rows, numbered in index order, with the lookups of
// the database file: a row matches when its key contains the search text.
//
// Ordinary keys (one "/" followed by an eight-byte identifier) sit in a hash
// by that identifier. A search by identifier or by full key then only looks
// at one chain; any search the hash cannot answer exactly (a fragment of an
// identifier, text inside a category, several slashes) scans every row.
class DbKeyTable {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;

  // Room for this many rows and key bytes in all, so that loading a big
  // index allocates once.
  void Reserve(size_t rows, size_t key_bytes);
  // The new row's number.
  uint32_t Append(std::string_view key);
  void Erase(uint32_t row);

  uint32_t size() const { return static_cast<uint32_t>(key_start_.size()); }
  size_t live_count() const { return live_count_; }
  bool live(uint32_t row) const { return flags_[row] & kLive; }
  std::string_view key(uint32_t row) const {
    return {arena_.data() + key_start_[row], key_length_[row]};
  }

  // The first live matching row.
  std::optional<uint32_t> First(std::string_view search) const;
  // Every live matching row, in index order.
  std::vector<uint32_t> All(std::string_view search) const;

 private:
  static constexpr uint8_t kLive = 1;
  static constexpr uint8_t kOrdinary = 2;

  static constexpr uint32_t kUnused = UINT32_MAX - 1;

  // One identifier's chain of rows; first is kNone once they are all erased.
  struct Slot {
    uint64_t tail = 0;
    uint32_t first = kUnused;
    uint32_t last = kNone;
    bool used() const { return first != kUnused; }
  };

  template <typename Visit>
  void ForEachMatch(std::string_view search, Visit&& visit) const;
  bool AnyHeadContains(std::string_view text) const;
  size_t SlotIndex(uint64_t tail) const;
  Slot& SlotFor(uint64_t tail);
  void Grow(size_t capacity);

  std::vector<char> arena_;
  std::vector<uint32_t> key_start_;
  std::vector<uint8_t> key_length_;
  std::vector<uint8_t> flags_;
  std::vector<uint32_t> next_;
  std::vector<uint32_t> prev_;
  std::vector<uint32_t> unusual_;  // rows with other keys, in order; erased ones linger
  size_t unusual_erased_ = 0;
  std::vector<Slot> slots_;
  size_t slots_used_ = 0;
  std::unordered_map<std::string, uint32_t> head_counts_;  // live ordinary rows per category
  size_t live_count_ = 0;
};

}  // namespace zcd
