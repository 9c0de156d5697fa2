#pragma once

#include <functional>
#include <optional>
#include <string>

#include "cddb/server_list.h"

namespace zcd {

// How a request to query the drive's disc against one server ended.
enum class ConnectOutcome {
  kStarted,
  kNoDisc,
  kQueryRunning,  // another query, submission or cached pass holds the lock
};

// What the CDDB settings sheet asks the player to start; the player owns
// the workers, the drive and the query lock. An empty member leaves its
// button disabled. All members are called on the window thread, and their
// callbacks must be run there too.
struct CddbActions {
  // Fetches the master server's site list; done gets the whole reply, none
  // when it could not be had.
  std::function<void(std::function<void(std::optional<std::string> reply)> done)> fetch_servers;
  // Queries the drive's disc against this server, just this once.
  std::function<ConnectOutcome(const ServerEntry& server)> connect;
  // Starts the pass over the cached discs; counted gets the number still
  // cached after each disc. False, starting nothing, while a query runs.
  std::function<bool(std::function<void(int cached)> counted)> query_cached;
};

}  // namespace zcd
