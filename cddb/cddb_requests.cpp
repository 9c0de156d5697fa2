#include "cddb/cddb_requests.h"

#include "cddb/base64.h"
#include "cddb/cddb_connection.h"
#include "cddb/net_log.h"

namespace zcd {

std::string HelloLine(const ClientIdentity& identity) {
  return "cddb hello " + identity.user + " " + identity.host + " ZentaroCD 1.25\n";
}

bool SendHello(CddbConnection& connection, const ClientIdentity& identity) {
  const std::string line = HelloLine(identity);
  connection.log().Write(LogSent, line);
  if (!connection.Send(line))
    return false;
  const std::optional<std::string> reply = connection.ReadReply(ReplyMode::LineReply);
  connection.log().Write(LogReceived, reply);
  return reply.has_value();
}

bool CddbpHandshake(CddbConnection& connection, const ClientIdentity& identity) {
  const std::optional<std::string> greeting = connection.ReadReply(ReplyMode::LineReply);
  connection.log().Write(LogReceived, greeting);
  return greeting && SendHello(connection, identity);
}

std::string HttpRequestTarget(const TransportSettings& settings, const HttpServer& server) {
  if (!settings.ProxiedHttp())
    return server.cgi_path;
  // The proxy goes where the line says, and without a port that is port 80.
  const std::string port = server.port == 80 ? "" : ":" + std::to_string(server.port);
  return "http://" + server.host + port + server.cgi_path;
}

std::string HttpRequestStart(const TransportSettings& settings, const HttpServer& server) {
  return "GET " + HttpRequestTarget(settings, server);
}

std::string HttpRequestLine(const TransportSettings& settings, const HttpServer& server,
                            std::string_view command, const ClientIdentity& identity,
                            HttpRequestKind kind) {
  const bool sites = kind == HttpRequestKind::kSites;
  return HttpRequestStart(settings, server) + "?cmd=" + std::string(command) +
         "&hello=" + identity.user + "+" + identity.host +
         "+ZentaroCD+1.25&proto=" + (sites ? "3" : "1") + " HTTP/1.0" + (sites ? "\r\n" : "\n");
}

std::string ProxyAuthHeader(const TransportSettings& settings) {
  if (!settings.Username && !settings.Password)
    return "";
  const std::string credentials =
      settings.Username.value_or("") + ":" + settings.Password.value_or("");
  return "Proxy-Authorization: Basic " + EncodeBase64Unbroken(credentials);
}

bool SendProxyAuth(CddbConnection& connection) {
  const std::string header = ProxyAuthHeader(connection.settings());
  return header.empty() || connection.Send(header);
}

bool SendHttpRequest(CddbConnection& connection, std::string_view request_line,
                     HttpRequestKind kind) {
  const bool auth = connection.settings().SendsProxyAuth();
  connection.log().Write(LogSent, request_line);
  if (!connection.Send(request_line))
    return false;
  if (auth && !SendProxyAuth(connection))
    return false;
  if (kind == HttpRequestKind::kSites)
    return connection.Send(auth ? "\r\n\r\n" : "\r\n");
  connection.log().Write(LogSent, "\r\n\r\n");
  return connection.Send("\r\n\r\n");
}

}  // namespace zcd
