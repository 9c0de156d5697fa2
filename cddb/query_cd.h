#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include "cddb/cddb_connection.h"
#include "cddb/server_list.h"
#include "cddb/worker_context.h"
#include "discdb/disc_record.h"

namespace zcd {

// The record a query fills: the drive's bound record, or a free-standing
// one (category "cached") of the cached pass.
struct QueryDisc {
  std::shared_ptr<DiscRecord> record;
  // The drive's disc-loaded flag, cleared when the disc leaves the drive or
  // the drive's state goes; null for a free-standing record.
  std::shared_ptr<const std::atomic<bool>> loaded;
};

enum class QueryEnd {
  kFinished,  // whatever the outcome; the status codes told it
  kLockHeld,  // another query, pass or submission runs: nothing was done
};

// Worker thread. One query and read of the disc, filed in the database and
// read into the record, with the status codes, questions and log lines on
// the way. `server` is the one Connect chose, used just this once; without
// it the settings' default server is used (the first one when none is
// marked). The connection's Stop ends it promptly at any wait.
QueryEnd QueryCd(const CddbWorkerContext& context, CddbConnection& connection,
                 const QueryDisc& disc, const std::optional<ServerEntry>& server = std::nullopt);

}  // namespace zcd
