#pragma once

#include <semaphore>
#include <string>
#include <vector>

#include "base/settings.h"
#include "cddb/net_log.h"
#include "cddb/scripted_worker_host.h"
#include "cddb/worker_context.h"
#include "support/temp_dir.h"

namespace zcd::test {

// What a sites worker runs with: settings naming the user "jo" on "box",
// the network log on in a folder of its own, the query lock and the host.
struct SitesRun {
  SitesRun() {
    settings.EmailHello = 1;
    settings.UserEmail = "jo@box";
  }

  void SetServers(const std::vector<std::string>& lines) {
    settings.NumServers = static_cast<int>(lines.size());
    settings.Server.assign(lines.begin(), lines.end());
  }

  CddbWorkerContext Context() { return {settings, db_path, log, query_lock, host}; }

  // The log's one stretch without its start and stop lines; "" when the
  // log is not a single framed stretch.
  std::string Logged() const {
    const std::string text = dir.Read("net.txt");
    const size_t stop = text.find("***Stopped Logging:");
    if (!text.starts_with("***Logging Started:") || stop == std::string::npos ||
        text.find("***Logging Started:", 1) != std::string::npos)
      return "";
    const size_t begin = text.find('\n') + 1;
    return text.substr(begin, stop - begin);
  }

  TempDir dir;
  Settings settings;
  std::string db_path = dir.File("ZCD.zdb");
  NetLog log{true, dir.File("net.txt"), dir.path()};
  std::binary_semaphore query_lock{1};
  ScriptedWorkerHost host;  // a site fetch must never trouble the player
};

}  // namespace zcd::test
