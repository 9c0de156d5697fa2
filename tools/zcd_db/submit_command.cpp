#include <cstdio>
#include <optional>
#include <semaphore>
#include <string>
#include <vector>

#include "app/data_folder.h"
#include "app/settings_file.h"
#include "base/cddb_status.h"
#include "cddb/server_list.h"
#include "cddb/submission_text.h"
#include "cddb/submit_cd.h"
#include "discdb/database.h"
#include "discdb/disc_record.h"
#include "discdb/entry_text.h"
#include "tools/zcd_db/commands.h"
#include "tools/zcd_db/terminal_worker_host.h"

namespace zcd::tool {
namespace {

bool Filled(const std::optional<std::string>& text) {
  return text && !text->empty();
}

std::string JoinedWithAnd(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i)
    text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  return text;
}

// The player would offer to open its settings; a terminal can only say what
// is missing and where it goes.
void ReportNotSetUp(const Settings& settings, const std::string& ini_path) {
  const bool by_http = settings.SubmitMethod == kSubmitByHttp;
  std::vector<std::string> keys;  // of [SubmitInfo]
  if (!by_http && !Filled(settings.SmtpServer))
    keys.push_back("SmtpServer");
  if (!Filled(settings.UserEmail))
    keys.push_back("UserEmail");
  const bool no_server = by_http && ReadServerList(settings).empty();
  std::vector<std::string> missing = keys;
  if (no_server)
    missing.push_back("a CDDB server");
  std::string advice;
  if (!keys.empty()) {
    const std::string named = no_server ? JoinedWithAnd(keys) : keys.size() == 1 ? "it" : "them";
    advice = "set " + named +
             " on the Submitting page of the player's CDDB settings, or in [SubmitInfo] of " +
             ini_path;
  }
  if (no_server) {
    advice += std::string(advice.empty() ? "" : "; ") +
              "add a server on the Servers page of the CDDB settings, or in [Servers] of " +
              ini_path;
  }
  Report(std::string("submitting ") + (by_http ? "over HTTP" : "by mail") + " is not set up, " +
         JoinedWithAnd(missing) + (missing.size() == 1 ? " is" : " are") + " missing: " + advice);
}

// An IPv6 address in a URL goes in brackets.
std::string UrlHost(const std::string& host) {
  return host.find(':') == std::string::npos ? host : "[" + host + "]";
}

// Where the entry went, said as the worker addressed it.
std::string Destination(const Settings& settings) {
  if (settings.SubmitMethod == kSubmitByHttp) {
    const std::optional<HttpServer> server = HttpSubmitServer(settings);
    return "over HTTP to http://" + UrlHost(server->host) + ":" + std::to_string(server->port) +
           server->cgi_path;
  }
  return "by mail to " + SubmissionAddress(settings) + " through " + *settings.SmtpServer;
}

}  // namespace

int RunSubmit(const ToolContext& context, const ToolArgs& args) {
  if (auto bad = args.Unexpected({"--home", "--db"}))
    return Report("submit does not take " + *bad, kExitUsage);
  if (args.words.size() != 2 || args.words[1].empty())
    return Report("submit needs one disc identifier or key", kExitUsage);
  std::optional<std::string> entry = DbFindEntry(context.db_path, StoredText(args.words[1]));
  if (!entry)
    return Report("no entry matches '" + args.words[1] + "'");
  // The raised revision goes out in the mail only; the stored entry keeps
  // its own, as in the player.
  StampRevision(*entry);
  DiscRecord record;
  if (ReadTocFromEntry(record, *entry))
    ReadEntryIntoRecord(record, *entry, false);
  const std::string disc_id = record.DiscIdText().value_or(args.words[1]);

  const Settings settings = ReadSettings(context.ini_path, context.data_dir, ProcessEnvironment());
  TerminalWorkerHost host(std::nullopt, disc_id, TerminalWorkerHost::YesNo::kAnswerNo);
  NetLog log(settings.NetLogging != 0, settings.LogFile, context.data_dir);
  // Nothing else in this process submits; the lock only completes the context.
  std::binary_semaphore lock(1);
  const CddbWorkerContext worker{settings, context.db_path, log, lock, host};
  CddbConnection connection(TransportSettings::From(settings), log);
  SubmitCd(worker, connection, std::move(*entry));

  switch (host.last_status()) {
    case kCddbStatusSubmitted:
      PrintStored("Submitted " + EntryKey(record.Category().value_or(""), disc_id) + " ");
      std::printf("%s\n", Destination(settings).c_str());
      return kExitOk;
    case kCddbStatusMailRefused:
    case kCddbStatusUnreachable:
    case kCddbStatusNoSockets:
      return kExitNetwork;
    default:
      // Refused before any connection: the worker's notice is on standard
      // error already, or the set-up question was answered no.
      if (host.declined())
        ReportNotSetUp(settings, context.ini_path);
      return kExitFailed;
  }
}

}  // namespace zcd::tool
