#pragma once

#include <string>
#include <string_view>

#include "cddb/client_identity.h"
#include "cddb/transport_settings.h"

namespace zcd {

class CddbConnection;

// The CDDBP hello: "cddb hello USER HOST ZentaroCD 1.25" and one "\n".
std::string HelloLine(const ClientIdentity& identity);

// Worker thread. Logs and sends the hello and reads one line in answer;
// true when an answer came, whatever its code.
bool SendHello(CddbConnection& connection, const ClientIdentity& identity);

// Worker thread. The server's greeting (logged, code not judged), then the
// hello; false when either went unanswered.
bool CddbpHandshake(CddbConnection& connection, const ClientIdentity& identity);

// An HTTP CDDB server as a request names it.
struct HttpServer {
  std::string host;
  int port = 80;
  std::string cgi_path;  // such as "/~cddb/cddb.cgi"
};

// Query and read ask at protocol level 1 and end their request line with a
// bare "\n"; the site list asks at level 3 and ends it with "\r\n".
enum class HttpRequestKind { kQueryOrRead, kSites };

// The CGI path, or through a proxy with a host "http://" and the server's
// host (with ":port" unless it is 80) and the CGI path.
std::string HttpRequestTarget(const TransportSettings& settings, const HttpServer& server);
// "GET " and the target.
std::string HttpRequestStart(const TransportSettings& settings, const HttpServer& server);

// The whole request line for cmd=command (words joined by "+"), with the
// hello and its line end.
std::string HttpRequestLine(const TransportSettings& settings, const HttpServer& server,
                            std::string_view command, const ClientIdentity& identity,
                            HttpRequestKind kind);

// "Proxy-Authorization: Basic " and "user:pass" in Base64, in one unbroken
// line of any length and without a line end; empty when neither user nor
// password is set.
std::string ProxyAuthHeader(const TransportSettings& settings);

// Worker thread. Sends ProxyAuthHeader when there is one; never logged.
bool SendProxyAuth(CddbConnection& connection);

// Worker thread. Sends a request line made by HttpRequestLine, the proxy
// header when UseProxy and useProxyAuth are on, and the closing blank line:
// "\r\n\r\n" after a query or read (logged), one "\r\n" (two after a
// header) after a sites request. False when a send failed.
bool SendHttpRequest(CddbConnection& connection, std::string_view request_line,
                     HttpRequestKind kind);

}  // namespace zcd
