#include "cddb/get_sites.h"

#include "cddb/cddb_requests.h"
#include "cddb/client_identity.h"
#include "cddb/net_log.h"
#include "cddb/server_list.h"

namespace zcd {
namespace {

// The CDDBP dialogue after connecting; the sites reply or none.
std::optional<std::string> SitesByCddbp(CddbConnection& connection,
                                        const ClientIdentity& identity) {
  NetLog& log = connection.log();
  const std::optional<std::string> greeting = connection.ReadReply(ReplyMode::LineReply);
  log.Write(LogReceived, greeting);
  if (!greeting) {
    log.Write(LogInfo, "Connect message returned NULL\r\n");
    return std::nullopt;
  }
  if (!SendHello(connection, identity)) {
    log.Write(LogInfo, "Handshake Failed\r\n");
    return std::nullopt;
  }
  // Only level 3 lists each site's protocol and CGI path.
  constexpr char kProto[] = "proto 3\r\n";
  log.Write(LogSent, kProto);
  std::optional<std::string> level;
  if (connection.Send(kProto)) {
    level = connection.ReadReply(ReplyMode::LineReply);
    log.Write(LogReceived, level);
  }
  if (!level) {
    log.Write(LogInfo, "Setting protocol level failed\r\n");
    return std::nullopt;
  }
  constexpr char kSites[] = "sites\r\n";
  log.Write(LogSent, kSites);
  std::optional<std::string> reply;
  if (connection.Send(kSites)) {
    reply = connection.ReadReply(ReplyMode::MultiLineReply);
    log.Write(LogReceived, reply);
  }
  constexpr char kQuit[] = "quit\r\n";
  log.Write(LogSent, kQuit);
  connection.Send(kQuit);
  return reply;
}

std::optional<std::string> SitesByHttp(CddbConnection& connection, const HttpServer& server,
                                       const ClientIdentity& identity) {
  const std::string line =
      HttpRequestLine(connection.settings(), server, "sites", identity, HttpRequestKind::kSites);
  if (!SendHttpRequest(connection, line, HttpRequestKind::kSites))
    return std::nullopt;
  std::optional<std::string> reply = connection.ReadReply(ReplyMode::MultiLineReply);
  connection.log().Write(LogReceived, reply);
  return reply;
}

}  // namespace

SitesRoute SitesRouteFor(const Settings& settings) {
  for (const ServerEntry& entry : ReadServerList(settings)) {
    if (entry.is_default != 0)
      return {entry.protocol.starts_with("CDDBP"), entry.port};
  }
  return {};
}

std::optional<std::string> GetSites(const CddbWorkerContext& context, CddbConnection& connection,
                                    const std::string& master_host) {
  NetLog& log = context.log;
  log.Write(LogStart);
  log.Write(LogInfo, "GetSites initiated\r\n");
  const SitesRoute route = SitesRouteFor(context.settings);
  std::optional<std::string> reply;
  if (connection.Connect(master_host, route.port) == ConnectResult::kConnected) {
    const ClientIdentity identity =
        WorkerClientIdentity(context.settings.EmailHello != 0, context.settings.UserEmail);
    reply = route.cddbp ? SitesByCddbp(connection, identity)
                        : SitesByHttp(connection, {master_host, route.port, kMasterServerCgiPath},
                                      identity);
  }
  connection.Close();
  log.Write(LogStop);
  return reply;
}

}  // namespace zcd
