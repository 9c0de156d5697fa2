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

// The two halves of QueryCd, for callers that take no lock and keep no log
// (the command-line tool). Worker thread, each.
// The query and read: the entry in the stored encoding, or none when the
// query ended early (its status was posted).
std::optional<std::string> QueryAndRead(const CddbWorkerContext& context,
                                        CddbConnection& connection, const QueryDisc& disc,
                                        const std::optional<ServerEntry>& server = std::nullopt);
// Files a read entry and reads it into the record, asking before a stored
// entry of a disc that is not cached is replaced; posts 999.
void FileReadEntry(const CddbWorkerContext& context, const QueryDisc& disc, std::string entry);

}  // namespace zcd
