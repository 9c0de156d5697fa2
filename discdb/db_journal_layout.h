#pragma once

// The journal file's layout and the small helpers its writers and its undoing
// share. Only for the journal's own files.

#include <fcntl.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "discdb/db_file_io.h"

namespace zcd::db_journal_layout {

// Journal layout. The head (up to kChecksumAt + 8) is written last in one
// write and guarded by a checksum: a journal without a valid head was never
// acted on. The marks after it change while the add runs.
constexpr char kJournalMagic[4] = {'Z', 'C', 'D', 'J'};
constexpr int64_t kVersionAt = 4;
constexpr int64_t kOldSizeAt = 8;
constexpr int64_t kOldHeadAt = 16;
constexpr int64_t kTextLengthAt = 28;
constexpr int64_t kSavedAtBeginAt = 32;
constexpr int64_t kChecksumAt = 40;
constexpr int64_t kHeadBytes = 48;
constexpr int64_t kMovedFromAt = 64;  // index bytes from here on are in their new place
constexpr int64_t kSlotFromAt = 72;   // the slot holds the index bytes from here to the mark above
constexpr int64_t kRollbackSavedAt = 80;  // kSavedMark once the rebuilt index is saved
constexpr int64_t kRollbackIndexAt = 88;  // where it is: after everything else
constexpr int64_t kSavedIndexAt = 4096;   // the whole old index, or the slot
constexpr uint32_t kVersion = 2;
// A tail journal shares the head's first fields; instead of the add's text
// length and flag it keeps where the saved bytes start in the database. What
// it saved follows at kSavedIndexAt.
constexpr uint32_t kTailVersion = 3;
constexpr int64_t kStartAt = 32;
constexpr uint64_t kSavedMark = 0x4556415344435a31ull;
// A shift journal is a tail journal that saves all but the block; the block's
// size, shift and chunk size follow the head, the add's marks and rollback
// fields stay where they are, and the slot follows the saved bytes.
constexpr uint32_t kShiftVersion = 4;
constexpr int64_t kBlockSizeAt = 48;
constexpr int64_t kShiftAt = 56;
constexpr int64_t kChunkBytesAt = 96;

template <typename T>
inline T Load(const char* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

template <typename T>
inline void Put(char* p, T value) {
  std::memcpy(p, &value, sizeof value);
}

inline bool WriteMark(int fd, int64_t at, int64_t value) {
  char bytes[8];
  Put<int64_t>(bytes, value);
  return DbWriteAt(fd, bytes, sizeof bytes, at);
}

inline std::string JournalPath(const std::string& db_path) {
  return DbSidePath(db_path, "-journal");
}

// A new, empty journal; invalid when it cannot be made (or a simulated crash
// stops it).
inline UniqueFd CreateJournalFile(const std::string& path) {
  if (!DbIoStep())
    return {};
  return DbOpen(path, O_RDWR | O_CREAT | O_TRUNC, 0600);
}

// A finished write: the journal goes, and with it the way back.
inline bool CloseAndRemove(UniqueFd& fd, const std::string& path) {
  fd = UniqueFd();
  return DbRemove(path);
}

inline int64_t PageAligned(int64_t at) {
  return (at + kSavedIndexAt - 1) / kSavedIndexAt * kSavedIndexAt;
}

}  // namespace zcd::db_journal_layout
