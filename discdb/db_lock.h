#pragma once

#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "discdb/db_file_io.h"

namespace zcd {

struct DbPathState;

// Access to one database file: many readers or one writer, among the threads
// of this process (a lock per path) and among processes (flock on
// "<db>-lock"). Taking it first undoes any write a killed writer left half
// done, so a holder always sees a whole state.
//
// A thread that already holds a database may read it again without waiting
// (an export walking the file its own import session holds), but may not
// start a second writer on it: that would wait for itself for ever.
class DbLock {
 public:
  enum class Mode { kShared, kExclusive };

  // Any thread. None, with error set, when the lock cannot be had or a
  // half-done write cannot be undone.
  static std::optional<DbLock> Acquire(const std::string& db_path, Mode mode, std::string* error);

  // Whether other processes' writers are kept out: false for a reader that
  // found no lock file.
  bool guarded() const;
  // Exclusive holders. A reader that finds no lock file reads unguarded, so
  // until a writer has replaced the file once by a rename, no writer may
  // change it in place: the file a reader might hold open unguarded is then
  // never changed. The lock file's first byte records that replacement.
  bool in_place_allowed() const { return in_place_allowed_; }
  // After the file was replaced whole under this lock.
  void AllowInPlaceWrites();

  DbLock(DbLock&& other) noexcept;
  DbLock& operator=(DbLock&& other) noexcept;
  ~DbLock();

 private:
  DbLock() = default;
  static std::optional<DbLock> AcquireOnce(const std::string& db_path, Mode mode,
                                           std::string* error);
  void Release();

  std::shared_ptr<DbPathState> state_;
  Mode mode_ = Mode::kShared;
  std::thread::id owner_;
  bool counted_ = false;  // false for a reader nested in this thread's own hold
  bool in_place_allowed_ = false;
  UniqueFd file_;
};

}  // namespace zcd
