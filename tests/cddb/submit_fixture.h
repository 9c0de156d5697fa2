#pragma once

#include <regex>
#include <semaphore>
#include <string>

#include "base/settings.h"
#include "cddb/cddb_connection.h"
#include "cddb/net_log.h"
#include "cddb/scripted_worker_host.h"
#include "cddb/submit_cd.h"
#include "cddb/worker_context.h"
#include "support/temp_dir.h"

namespace zcd::test {

// The body lines of the sample entry between its head line and its play
// order. A line holding just "." and one starting ".." belong to the notes.
inline constexpr char kSubmitEntryBody[] =
    "# xmcd CD database file\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t14250\r\n#\r\n"
    "# Disc length: 420 seconds\r\n#\r\n# Revision: 2\r\n#\r\nDISCID=0c01a202\r\n"
    "DTITLE=Artist / Album\r\nTTITLE0=One\r\nTTITLE1=Two\r\nEXTD=Notes\r\n.\r\n..x\r\n"
    "EXTT0=\r\nEXTT1=\r\n";

// Two tracks whose identifier is 0c01a202, with a saved play order.
inline std::string SubmitEntry(const std::string& category = "rock") {
  return "200 " + category + " 0c01a202\r\n" + kSubmitEntryBody + "PLAYORDER=1,0\r\n.\r\n";
}

// What CDDB is to get of SubmitEntry: no head line, no play order.
inline std::string SubmittedBody() {
  return std::string(kSubmitEntryBody) + "PLAYORDER=\r\n.\r\n";
}

// A submission worker's surroundings: its settings (mail set up, sending to
// nowhere yet), a real log in a temporary folder, the query lock and a
// scripted player.
struct SubmitWorker {
  TempDir dir;
  Settings settings;
  std::string db_path;
  NetLog log{true, dir.File("net.txt"), dir.path()};
  std::binary_semaphore lock{1};
  ScriptedWorkerHost host;

  SubmitWorker() {
    settings.UserEmail = "me@example.org";
    settings.SmtpServer = "127.0.0.1:1";
  }

  // Runs the worker on this thread.
  void Submit(const std::string& entry = SubmitEntry()) {
    const CddbWorkerContext context{settings, db_path, log, lock, host};
    CddbConnection connection(TransportSettings::From(settings), log);
    SubmitCd(context, connection, entry);
  }

  // The log with its start and stop lines as "[start]" and "[stop]".
  std::string Log() const {
    static const std::regex kStart("\\*\\*\\*Logging Started:\t[^\n]*\n");
    static const std::regex kStop("\\*\\*\\*Stopped Logging:\t[^\n]*\n\r\n\r\n");
    return std::regex_replace(std::regex_replace(dir.Read("net.txt"), kStart, "[start]"), kStop,
                              "[stop]");
  }
};

}  // namespace zcd::test
