#include "discdb/db_key_match.h"

#include <cstdint>
#include <cstring>

#include "discdb/db_format.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zcd {

DbKeyMatch::DbKeyMatch(std::string_view search)
    : needle_(SearchText(search)), whole_key_(IsFullKey(search)) {
  short_key_fits_ = whole_key_ && needle_.size() < short_key_.size();
  if (short_key_fits_)
    std::memcpy(short_key_.data(), needle_.data(), needle_.size());
}

bool DbKeyMatch::Matches(std::string_view key) const {
  return whole_key_ ? key == needle_ : key.find(needle_) != std::string_view::npos;
}

bool DbKeyMatch::RowMatchesPadded(const char* row) const {
  if (whole_key_) {
#if defined(__SSE2__)
    if (short_key_fits_) {
      const __m128i key = _mm_loadu_si128(reinterpret_cast<const __m128i*>(short_key_.data()));
      const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row));
      const unsigned equal = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(head, key)));
      const unsigned wanted = (2u << needle_.size()) - 1;  // the key's bytes and its zero
      return (equal & wanted) == wanted;
    }
#endif
    return RowKey(row) == needle_;
  }
  const size_t m = needle_.size();
  if (m == 0)
    return true;
  if (m > static_cast<size_t>(kDbKeyField))
    return false;
#if defined(__SSE2__)
  // Cheap filter first: positions where the needle's first and last bytes both
  // fit; only those are compared in full, and only before the key's end.
  const __m128i first = _mm_set1_epi8(needle_.front());
  const __m128i last = _mm_set1_epi8(needle_.back());
  const size_t positions = kDbKeyField + 1 - m;
  uint64_t candidates = 0;
  for (size_t b = 0; b < positions; b += 16) {
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + b));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + b + m - 1));
    const int hits =
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(head, first), _mm_cmpeq_epi8(tail, last)));
    candidates |= static_cast<uint64_t>(static_cast<uint32_t>(hits)) << b;
  }
  if (candidates == 0)
    return false;
  const size_t key_length = RowKey(row).size();
  if (key_length < m)
    return false;
  candidates &= (uint64_t{1} << (key_length - m + 1)) - 1;
  while (candidates != 0) {
    const int i = __builtin_ctzll(candidates);
    if (std::memcmp(row + i, needle_.data(), m) == 0)
      return true;
    candidates &= candidates - 1;
  }
  return false;
#else
  return Matches(RowKey(row));
#endif
}

bool IsFullKey(std::string_view search) {
  const std::string_view text = SearchText(search);
  const size_t slash = text.find('/');
  return slash != std::string_view::npos && slash > 0 && text.size() - slash - 1 == 8 &&
         text.find('/', slash + 1) == std::string_view::npos;
}

size_t DbKeyMatch::FindRowFollowed(const char* rows, size_t count, size_t from) const {
  for (size_t i = from; i < count; ++i) {
    if (RowMatchesPadded(rows + i * kDbRowSize))
      return i;
  }
  return count;
}

size_t DbKeyMatch::FindRow(const char* rows, size_t count, size_t from) const {
  // Every row but the last is followed by another; the last is copied out.
  if (count == 0 || from >= count)
    return count;
  const size_t found = FindRowFollowed(rows, count - 1, from);
  if (found < count - 1)
    return found;
  char padded[2 * kDbRowSize] = {};
  std::memcpy(padded, rows + (count - 1) * kDbRowSize, kDbRowSize);
  return RowMatchesPadded(padded) ? count - 1 : count;
}

}  // namespace zcd
