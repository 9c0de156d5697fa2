#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zcd::bench {

// Realistic databases for benchmarks: entries of 600 to 1,500 bytes of
// xmcd-like text under keys "category/%08x" with unique random identifiers,
// spread over the usual categories.

// The i-th entry's key and text of a generated database (the same for every
// size: a bigger database holds the smaller ones' entries first).
std::string GeneratedKey(size_t i);
std::string GeneratedId(size_t i);
std::string GeneratedText(size_t i);

// Writes a database of `entries` entries to path in one pass, straight in the
// file's layout. False when it cannot be written.
bool WriteGeneratedDatabase(const std::string& path, size_t entries);

// A generated database of `entries` entries kept under /tmp/zcd-bench and
// reused by later runs; empty when it cannot be made.
std::string CachedDatabase(size_t entries);

// A fresh copy of the cached database at path, for benchmarks that write;
// synced, so that no write-back of the copy runs during the measurement.
bool CopyCachedDatabase(size_t entries, const std::string& path);

}  // namespace zcd::bench
