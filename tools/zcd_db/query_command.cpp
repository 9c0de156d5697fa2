#include <charconv>
#include <cstdio>
#include <memory>
#include <semaphore>
#include <string>

#include "base/cddb_status.h"
#include "cddb/query_cd.h"
#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "tools/zcd_db/commands.h"
#include "tools/zcd_db/disc_timing_args.h"
#include "tools/zcd_db/terminal_worker_host.h"

namespace zcd::tool {
namespace {

// The longest wait the settings sheet offers.
constexpr int kMaxTimeout = 999;
// Far beyond any list a server sends.
constexpr int kMaxPick = 99999;

std::optional<int> Number(std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return std::nullopt;
  return value;
}

// A name goes into request lines as it is, so it must hold no blank or
// control character.
bool PlainWord(std::string_view text) {
  if (text.empty())
    return false;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte == 0x7f)
      return false;
  }
  return true;
}

struct HostPort {
  std::string host;
  int port = 0;
};

// "HOST:PORT", or "[ADDRESS]:PORT" for an IPv6 address; the brackets are
// kept when asked, for a URL that names the host.
std::optional<HostPort> ParseHostPort(std::string_view text, bool keep_brackets = false) {
  size_t colon = 0;
  std::string_view host;
  if (text.starts_with('[')) {
    const size_t close = text.find(']');
    if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':')
      return std::nullopt;
    host = keep_brackets ? text.substr(0, close + 1) : text.substr(1, close - 1);
    colon = close + 1;
  } else {
    colon = text.find(':');
    if (colon == std::string_view::npos || text.find(':', colon + 1) != std::string_view::npos)
      return std::nullopt;
    host = text.substr(0, colon);
  }
  const std::optional<int> port = Number(text.substr(colon + 1), 1, 65535);
  if (!PlainWord(host) || host == "[]" || !port)
    return std::nullopt;
  return HostPort{std::string(host), *port};
}

struct QueryRequest {
  Settings settings;
  ServerEntry server;
  DiscTiming timing;
  std::optional<int> pick;
  bool store = false;
};

// The request a command line makes, or none with error saying why.
std::optional<QueryRequest> ReadRequest(const ToolArgs& args, std::string& error) {
  QueryRequest request;
  const std::optional<std::string> server_text = args.Option("--server");
  const std::optional<std::string> cgi_path = args.Option("--http");
  const std::optional<std::string> proxy_text = args.Option("--proxy");
  const std::optional<std::string> user = args.Option("--proxy-user");
  const std::optional<std::string> password = args.Option("--proxy-pass");
  if (!server_text) {
    error = "query needs --server HOST:PORT";
    return std::nullopt;
  }
  // Through a proxy the server is named in the request's URL, where an IPv6
  // address keeps its brackets; the proxy resolves it.
  const std::optional<HostPort> server = ParseHostPort(*server_text, proxy_text.has_value());
  if (!server) {
    error = "'" + *server_text + "' is not HOST:PORT";
    return std::nullopt;
  }
  if (cgi_path && (!cgi_path->starts_with('/') || !PlainWord(*cgi_path))) {
    error = "--http needs the script's path on the server, such as /~cddb/cddb.cgi";
    return std::nullopt;
  }
  request.server = {server->host,          server->port, 1, "", cgi_path ? "HTTP" : "CDDBP",
                    cgi_path.value_or("-")};

  if (proxy_text) {
    // A proxy carries HTTP requests; CDDBP spoken to it would be lost.
    const std::optional<HostPort> proxy = ParseHostPort(*proxy_text);
    if (!cgi_path || !proxy) {
      error = !cgi_path ? "--proxy needs an HTTP server (--http)"
                        : "'" + *proxy_text + "' is not HOST:PORT";
      return std::nullopt;
    }
    request.settings.UseProxy = 1;
    request.settings.HostName = proxy->host;
    request.settings.Port = proxy->port;
  }
  if (user.has_value() != password.has_value() || (user && !proxy_text)) {
    error = "--proxy-user and --proxy-pass go together, with --proxy";
    return std::nullopt;
  }
  if (user) {
    request.settings.useProxyAuth = 1;
    request.settings.Username = user;
    request.settings.Password = password;
  }

  if (const std::optional<std::string> timeout = args.Option("--timeout")) {
    const std::optional<int> seconds = Number(*timeout, 0, kMaxTimeout);
    if (!seconds) {
      error = "--timeout takes seconds, 0 to " + std::to_string(kMaxTimeout);
      return std::nullopt;
    }
    request.settings.NetTimeout = *seconds;
  }
  if (const std::optional<std::string> pick = args.Option("--pick")) {
    request.pick = Number(*pick, 1, kMaxPick);
    if (!request.pick) {
      error = "--pick takes the number of a match, from 1";
      return std::nullopt;
    }
  }
  request.store = args.Flag("--store");

  std::optional<DiscTiming> timing = ParseDiscTiming(std::span(args.words).subspan(1), error);
  if (!timing)
    return std::nullopt;
  request.timing = *timing;
  return request;
}

}  // namespace

int RunQuery(const ToolContext& context, const ToolArgs& args) {
  if (auto bad = args.Unexpected({"--home", "--db", "--server", "--http", "--proxy", "--proxy-user",
                                  "--proxy-pass", "--timeout", "--pick", "--store"}))
    return Report("query does not take " + *bad, kExitUsage);
  std::string error;
  const std::optional<QueryRequest> request = ReadRequest(args, error);
  if (!request)
    return Report(error, kExitUsage);
  if (request->store && !PrepareToWrite(context))
    return kExitFailed;

  const std::string id = DiscIdText(ComputeCddbDiscId(request->timing));
  TerminalWorkerHost host(request->pick, id);
  NetLog log(false, "", context.data_dir);
  // Nothing else in this process queries; the lock only completes the context.
  std::binary_semaphore lock(1);
  const CddbWorkerContext worker{request->settings, context.db_path, log, lock, host};
  CddbConnection connection(TransportSettings::From(request->settings), log);
  const QueryDisc disc{std::make_shared<DiscRecord>(), nullptr};
  disc.record->SetTiming(request->timing);

  std::optional<std::string> entry = QueryAndRead(worker, connection, disc, request->server);
  if (!entry) {
    const int status = host.last_status();
    return status == kCddbStatusUnreachable || status == kCddbStatusNoSockets ? kExitNetwork
                                                                              : kExitFailed;
  }
  if (!request->store) {
    PrintStored(*entry);
    return kExitOk;
  }
  FileReadEntry(worker, disc, std::move(*entry));
  if (host.warned())
    return Report("could not write '" + context.db_path + "'; the entry was not stored");
  if (host.declined()) {
    std::printf("Kept the stored entry of %s\n", id.c_str());
    return kExitOk;
  }
  // The key filing chose, from the record the entry was read into.
  PrintStored("Stored " +
              EntryKey(disc.record->Category().value_or("nocategory"),
                       disc.record->DiscIdText().value_or(id)) +
              "\n");
  return kExitOk;
}

}  // namespace zcd::tool
