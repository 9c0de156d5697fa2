#pragma once

#include <functional>
#include <string>

#include "cddb/cddb_connection.h"
#include "cddb/worker_context.h"

namespace zcd {

// What the pass tells the player as it goes; called on the pass's thread.
// Either may be empty.
struct CachedPassHooks {
  // The number of discs still cached, after a disc was found or removed.
  std::function<void(int cached)> counted;
  // A cached disc was found and filed: the drive may be holding it.
  std::function<void(const std::string& disc_id)> found;
};

// Worker thread. Queries every cached disc in turn, most recently cached
// first. A disc that is not found is retried, left cached, removed or ends
// the pass, as the user answers; a query that finds another one running
// ends the pass, as does the connection's Stop.
void QueryCachedCds(const CddbWorkerContext& context, CddbConnection& connection,
                    const CachedPassHooks& hooks);

}  // namespace zcd
