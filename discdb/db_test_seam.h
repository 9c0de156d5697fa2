#pragma once

#include <cstdint>

namespace zcd {

// Test-only controls of the database file's writers.

enum class DbCrashKind {
  kBefore,  // the failing modification does not happen at all
  kTorn,    // the failing modification writes only the first half of its bytes
};

// After `steps` more modifications of a database file or its side files
// (writes, syncs, size changes, renames and removals), the next one and every
// later one fail as if the process had died there: nothing more is written,
// locks are let go. A negative count switches this off. Any thread; meant for
// single-threaded tests.
void DbSimulateCrashAfter(long steps, DbCrashKind kind = DbCrashKind::kBefore);
// True once the simulated crash has happened.
bool DbSimulatedCrashHappened();

// Whether syncs reach the disk; returns the previous setting. Tests about
// kills may turn them off: the page cache outlives a killed process, and the
// syncs still count as steps above. Any thread; meant for tests.
bool DbSetSyncEnabled(bool enabled);

// Index size in bytes up to which an add saves the whole old index in its
// journal and syncs the file, so that it also survives a power loss.
// Returns the previous limit. Any thread; meant for tests.
int64_t DbSetFullJournalLimit(int64_t bytes);

// How many index bytes an add moves per write (at least one row); returns the
// previous size. Any thread; meant for tests.
int64_t DbSetIndexMoveChunk(int64_t bytes);

// How big, in percent of the file, the part from the first removed text to
// the end may be for a delete or replace to move it in place; beyond it the
// whole file is rewritten. 0 always rewrites. Returns the previous share.
// Any thread; meant for tests.
int DbSetInPlaceTailShare(int percent);

}  // namespace zcd
