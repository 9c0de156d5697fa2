#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cddb/get_sites.h"
#include "cddb/loopback_server.h"
#include "cddb/server_list.h"
#include "cddb/sites_run.h"
#include "support/basic_auth_proxy.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using test::BasicAuthProxy;
using test::LoopbackServer;
using test::ServerPeer;
using test::SitesRun;

const std::string kSitesReply =
    "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n"
    "210 OK, site information follows (until terminating `.')\r\n"
    "cddb.example cddbp 8880 - N000.00 W000.00 Random server\r\n"
    "cddb.example http 80 /~cddb/cddb.cgi N000.00 W000.00 Random server\r\n"
    ".\r\n";

// The site list asked for through a real proxy in front of an HTTP server
// on a port of its own.
TEST(GetSitesProxyTest, TheProxyForwardsOnlyWithTheRightCredentials) {
  const std::string long_user(30, 'u');
  const std::string long_password(40, 'p');
  struct Case {
    const char* name;
    std::string proxy_user, proxy_password;  // what the proxy wants
    bool auth;
    std::string user, password;  // what the settings hold
    std::string status;          // the reply's status line
    int rows;                    // sites the page finds in it
  };
  const Case cases[] = {
      {"right credentials", "zcd", "secret", true, "zcd", "secret", "HTTP/1.0 200 OK\r\n", 2},
      {"wrong password", "zcd", "secret", true, "zcd", "guess", "HTTP/1.0 401 Unauthorized\r\n", 0},
      {"no credentials", "zcd", "secret", false, "zcd", "secret",
       "HTTP/1.0 407 Proxy Authentication Required\r\n", 0},
      // "user:password" beyond 54 bytes: one header line, not broken in two.
      {"long credentials", long_user, long_password, true, long_user, long_password,
       "HTTP/1.0 200 OK\r\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BasicAuthProxy proxy(c.proxy_user, c.proxy_password);
    ZCD_REQUIRE_PROXY(proxy);
    std::string request;
    auto upstream = std::make_unique<LoopbackServer>([&](ServerPeer& peer) {
      request = peer.ReadUntil("\r\n\r\n", 10s);
      peer.Send(kSitesReply);
    });
    const int port = upstream->port();
    SitesRun run;
    run.SetServers({"elsewhere.example " + std::to_string(port) + " HTTP /x 1 Here."});
    run.settings.UseProxy = 1;
    run.settings.HostName = "127.0.0.1";
    run.settings.Port = proxy.port();
    run.settings.useProxyAuth = c.auth ? 1 : 0;
    run.settings.Username = c.user;
    run.settings.Password = c.password;
    CddbConnection connection(TransportSettings::From(run.settings), run.log);
    const std::optional<std::string> reply = GetSites(run.Context(), connection, "127.0.0.1");
    ASSERT_TRUE(reply) << proxy.Log();
    EXPECT_TRUE(reply->starts_with(c.status)) << *reply;
    std::vector<ServerRow> rows;
    EXPECT_EQ(AddSites(rows, *reply), c.rows);

    const std::string query = "/~cddb/cddb.cgi?cmd=sites&hello=jo+box+ZentaroCD+1.25&proto=3";
    // The proxy took the full address, port and all, from the request line.
    EXPECT_NE(
        proxy.Log().find("GET http://127.0.0.1:" + std::to_string(port) + query + " HTTP/1.0"),
        std::string::npos)
        << proxy.Log();
    if (c.rows > 0) {
      ASSERT_TRUE(test::WaitUntil([&] { return upstream->finished() == 1; }));
      upstream.reset();
      EXPECT_TRUE(request.starts_with("GET " + query + " HTTP/1.0\r\n")) << request;
      EXPECT_NE(request.find("Host: 127.0.0.1:" + std::to_string(port) + "\r\n"), std::string::npos)
          << request;
      EXPECT_EQ(request.find("Proxy-Authorization"), std::string::npos) << request;
    } else {
      upstream.reset();
      EXPECT_EQ(request, "");
    }
  }
}

}  // namespace
}  // namespace zcd
