#pragma once

#include <semaphore>
#include <string>

#include "base/settings.h"
#include "cddb/net_log.h"
#include "cddb/worker_host.h"

namespace zcd {

// What every CDDB worker works with. The settings are the worker's own
// copy, taken when it started; the rest is the player's and outlives it.
struct CddbWorkerContext {
  const Settings& settings;
  const std::string& db_path;
  NetLog& log;
  // One query, cached pass or submission at a time; taken without waiting.
  std::binary_semaphore& query_lock;
  CddbWorkerHost& host;
};

}  // namespace zcd
