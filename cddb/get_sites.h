#pragma once

#include <optional>
#include <string>

#include "cddb/cddb_connection.h"
#include "cddb/worker_context.h"

namespace zcd {

// The master server that lists the CDDB sites, and where it answers HTTP.
inline constexpr char kMasterServerHost[] = "gnudb.gnudb.org";
inline constexpr char kMasterServerCgiPath[] = "/~cddb/cddb.cgi";
inline constexpr int kMasterServerHttpPort = 80;

// How the site list is asked for: HTTP on port 80, unless the first server
// marked as default names another port, or a CDDBP protocol.
struct SitesRoute {
  bool cddbp = false;
  int port = kMasterServerHttpPort;
};
SitesRoute SitesRouteFor(const Settings& settings);

// Worker thread. Asks master_host for its site list at protocol level 3, by
// CDDBP ("proto 3", "sites", "quit") or by one HTTP request, through the
// proxy when the settings say so. Returns the whole reply (an HTTP reply
// with its head), none when a step failed or the connection was stopped;
// each step that failed is logged. Shows nothing and does not take the
// query lock: a site fetch may run beside a query.
std::optional<std::string> GetSites(const CddbWorkerContext& context, CddbConnection& connection,
                                    const std::string& master_host = kMasterServerHost);

}  // namespace zcd
