#include "discdb/db_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "discdb/db_journal.h"

namespace zcd {

struct DbPathState {
  std::mutex mutex;
  std::condition_variable changed;
  int readers = 0;
  int writers_waiting = 0;
  bool writer = false;
  std::thread::id writer_thread;
  std::vector<std::thread::id> reader_threads;  // one element per hold

  bool HeldBy(std::thread::id thread) const {
    return (writer && writer_thread == thread) ||
           std::find(reader_threads.begin(), reader_threads.end(), thread) != reader_threads.end();
  }
};

namespace {

std::shared_ptr<DbPathState> StateFor(const std::string& db_path) {
  static std::mutex registry_mutex;
  static std::map<std::string, std::shared_ptr<DbPathState>> registry;
  std::error_code error;
  auto canonical = std::filesystem::weakly_canonical(db_path, error);
  const std::string key =
      error ? std::filesystem::absolute(db_path, error).lexically_normal().string()
            : canonical.string();
  const std::lock_guard lock(registry_mutex);
  auto& state = registry[key];
  if (!state)
    state = std::make_shared<DbPathState>();
  return state;
}

bool Flock(int fd, int operation) {
  int result;
  do {
    result = ::flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

}  // namespace

DbLock::DbLock(DbLock&& other) noexcept
    : state_(std::move(other.state_)),
      mode_(other.mode_),
      owner_(other.owner_),
      counted_(std::exchange(other.counted_, false)),
      in_place_allowed_(other.in_place_allowed_),
      file_(std::move(other.file_)) {}

DbLock& DbLock::operator=(DbLock&& other) noexcept {
  if (this != &other) {
    Release();
    state_ = std::move(other.state_);
    mode_ = other.mode_;
    owner_ = other.owner_;
    counted_ = std::exchange(other.counted_, false);
    in_place_allowed_ = other.in_place_allowed_;
    file_ = std::move(other.file_);
  }
  return *this;
}

DbLock::~DbLock() {
  Release();
}

void DbLock::Release() {
  file_ = UniqueFd();  // closing the lock file lets other processes in
  if (!counted_ || !state_)
    return;
  counted_ = false;
  {
    const std::lock_guard lock(state_->mutex);
    if (mode_ == Mode::kExclusive) {
      state_->writer = false;
    } else {
      --state_->readers;
      auto& threads = state_->reader_threads;
      threads.erase(std::find(threads.begin(), threads.end(), owner_));
    }
  }
  state_->changed.notify_all();
}

std::optional<DbLock> DbLock::AcquireOnce(const std::string& db_path, Mode mode,
                                          std::string* error) {
  DbLock lock;
  lock.state_ = StateFor(db_path);
  lock.mode_ = mode;
  lock.owner_ = std::this_thread::get_id();
  DbPathState& state = *lock.state_;
  {
    std::unique_lock guard(state.mutex);
    if (state.HeldBy(lock.owner_)) {
      if (mode == Mode::kExclusive) {
        *error = "the database is already in use by this thread";
        return std::nullopt;
      }
      return lock;  // nested read inside this thread's own hold
    }
    if (mode == Mode::kExclusive) {
      ++state.writers_waiting;
      state.changed.wait(guard, [&] { return !state.writer && state.readers == 0; });
      --state.writers_waiting;
      state.writer = true;
      state.writer_thread = lock.owner_;
    } else {
      state.changed.wait(guard, [&] { return !state.writer && state.writers_waiting == 0; });
      ++state.readers;
      state.reader_threads.push_back(lock.owner_);
    }
    lock.counted_ = true;
  }

  // Readers never create the lock file, so reading a file leaves nothing
  // beside it (see DbOpenForReading for the reader that finds none).
  const std::string lock_path = DbSidePath(db_path, "-lock");
  lock.file_ = mode == Mode::kExclusive ? DbOpen(lock_path, O_RDWR | O_CREAT, 0644)
                                        : DbOpen(lock_path, O_RDONLY);
  if (lock.file_.valid()) {
    if (!Flock(lock.file_.get(), mode == Mode::kExclusive ? LOCK_EX : LOCK_SH)) {
      *error = "the database's lock file cannot be locked";
      return std::nullopt;
    }
    lock.in_place_allowed_ = DbFileSize(lock.file_.get()) > 0;
  } else if (mode == Mode::kExclusive) {
    *error = "the database's lock file cannot be created";
    return std::nullopt;
  }

  if (mode == Mode::kExclusive) {
    if (!DbRecover(db_path, error))
      return std::nullopt;
    DbRemove(DbSidePath(db_path, "-new"));  // left by a writer killed before its rename
  }
  return lock;
}

bool DbLock::guarded() const {
  return file_.valid() || !counted_;
}

void DbLock::AllowInPlaceWrites() {
  if (in_place_allowed_ || mode_ != Mode::kExclusive || !file_.valid())
    return;
  const char mark = '1';
  in_place_allowed_ = DbWriteAtUngated(file_.get(), &mark, 1, 0);
}

std::optional<DbLock> DbLock::Acquire(const std::string& db_path, Mode mode, std::string* error) {
  std::string ignored;
  if (!error)
    error = &ignored;
  if (mode == Mode::kExclusive)
    return AcquireOnce(db_path, mode, error);
  // Readers leave the undoing of a half-done write to a writer's lock: they
  // step aside, take that lock once, and look again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    auto lock = AcquireOnce(db_path, mode, error);
    if (!lock || !lock->counted_ || !DbJournalExists(db_path))
      return lock;
    lock.reset();
    if (!AcquireOnce(db_path, Mode::kExclusive, error))
      return std::nullopt;
  }
  *error = "an interrupted write keeps coming back";
  return std::nullopt;
}

}  // namespace zcd
