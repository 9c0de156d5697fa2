#include "cddb/get_sites.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cddb/loopback_server.h"
#include "cddb/server_list.h"
#include "cddb/sites_run.h"
#include "support/basic_auth_proxy.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::ServerPeer;
using test::SitesRun;

const std::string kHello = "cddb hello jo box ZentaroCD 1.25\n";
const std::string kSitesBody =
    "210 OK, site information follows (until terminating `.')\r\n"
    "cddb.example cddbp 8880 - N000.00 W000.00 Random server\r\n"
    "cddb.example http 80 /~cddb/cddb.cgi N000.00 W000.00 Random server\r\n"
    ".\r\n";

std::string Connecting(int port) {
  return "Connecting To: 127.0.0.1:" + std::to_string(port) + "\r\n";
}

TEST(GetSitesTest, TheFirstDefaultServerChoosesPortAndProtocol) {
  struct Case {
    std::vector<std::string> servers;
    bool cddbp;
    int port;
  };
  const Case cases[] = {
      {{}, false, 80},
      {{"a 888 CDDBP - 0 Not the default."}, false, 80},
      {{"a 888 CDDBP - 0 x.", "b 8880 CDDBP - 1 y.", "c 8080 HTTP /c 1 z."}, true, 8880},
      {{"a 8080 HTTP /~cddb/cddb.cgi 1 x.", "b 888 CDDBP - 1 y."}, false, 8080},
      {{"a 888 CDDBPX - 1 Any protocol starting so."}, true, 888},
      {{"a 888 cddbp - 1 Lower case is not CDDBP."}, false, 888},
  };
  for (const Case& c : cases) {
    SitesRun run;
    run.SetServers(c.servers);
    run.settings.NumServers += 1;  // a missing key reads as no default
    const SitesRoute route = SitesRouteFor(run.settings);
    EXPECT_EQ(route.cddbp, c.cddbp) << testing::PrintToString(c.servers);
    EXPECT_EQ(route.port, c.port) << testing::PrintToString(c.servers);
  }
}

TEST(GetSitesTest, CddbpAsksForLevelThreeThenTheSitesAndQuitsOutsideTheQueryLock) {
  std::string wire;
  auto server = std::make_unique<LoopbackServer>([&](ServerPeer& peer) {
    peer.Send("201 cddb.example CDDBP server ready\r\n");
    wire = peer.ReadUntil("\n", 10s);
    peer.Send("200 Hello and welcome\r\n");
    wire += peer.ReadUntil("\r\n", 10s);
    peer.Send("201 OK, CDDB protocol level now: 3\r\n");
    wire += peer.ReadUntil("\r\n", 10s);
    peer.Send(kSitesBody);
    wire += peer.ReadUntilClosed(10s);
  });
  SitesRun run;
  const int port = server->port();
  // The master host is asked whatever the default server's own host is.
  run.SetServers({"other.example 9999 HTTP /x 0 Not default.",
                  "elsewhere.example " + std::to_string(port) + " CDDBP - 1 Here."});
  ASSERT_TRUE(run.query_lock.try_acquire());  // a query is running meanwhile
  CddbConnection connection(TransportSettings::From(run.settings), run.log);
  EXPECT_EQ(GetSites(run.Context(), connection, "127.0.0.1"), kSitesBody);
  EXPECT_FALSE(connection.connected());
  ASSERT_TRUE(test::WaitUntil([&] { return server->finished() == 1; }));
  server.reset();
  EXPECT_EQ(wire, kHello + "proto 3\r\nsites\r\nquit\r\n");
  EXPECT_EQ(run.Logged(), "GetSites initiated\r\n" + Connecting(port) +
                              "201 cddb.example CDDBP server ready\r\n" + kHello +
                              "200 Hello and welcome\r\n"
                              "proto 3\r\n201 OK, CDDB protocol level now: 3\r\n"
                              "sites\r\n" +
                              kSitesBody + "quit\r\n");
  EXPECT_FALSE(run.query_lock.try_acquire());
  EXPECT_TRUE(run.host.statuses().empty() && run.host.questions().empty());
  EXPECT_TRUE(run.host.commands().empty() && run.host.match_replies().empty());
  EXPECT_FALSE(run.host.cached_questions() || run.host.auto_info_off());
}

TEST(GetSitesTest, HttpSendsOneLevelThreeRequestAndReturnsTheReplyWithItsHead) {
  const std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + kSitesBody;
  std::string wire;
  auto server = std::make_unique<LoopbackServer>([&](ServerPeer& peer) {
    wire = peer.ReadUntil("\r\n\r\n", 10s);
    peer.Send(reply);
  });
  SitesRun run;
  const int port = server->port();
  // The master's CGI path is fixed; the default server lends only its port.
  run.SetServers({"elsewhere.example " + std::to_string(port) + " HTTP /cgi-bin/x.cgi 1 Here."});
  CddbConnection connection(TransportSettings::From(run.settings), run.log);
  const std::optional<std::string> got = GetSites(run.Context(), connection, "127.0.0.1");
  ASSERT_TRUE(test::WaitUntil([&] { return server->finished() == 1; }));
  server.reset();
  const std::string request =
      "GET /~cddb/cddb.cgi?cmd=sites&hello=jo+box+ZentaroCD+1.25&proto=3 HTTP/1.0\r\n";
  EXPECT_EQ(wire, request + "\r\n");
  EXPECT_EQ(got, reply);
  EXPECT_EQ(run.Logged(), "GetSites initiated\r\n" + Connecting(port) + request + reply);
  std::vector<ServerRow> rows;
  EXPECT_EQ(AddSites(rows, got.value_or("")), 2);
}

TEST(GetSitesTest, EachFailedStepIsLoggedAndGivesNone) {
  using Script = LoopbackServer::Script;
  struct Case {
    const char* name;
    bool cddbp;
    Script script;
    std::string log_after_connect;
  };
  const Case cases[] = {
      {"no greeting", true, [](ServerPeer&) {}, "(null)\r\nConnect message returned NULL\r\n"},
      {"hello unanswered", true,
       [](ServerPeer& peer) {
         peer.Send("201 ready\r\n");
         peer.ReadUntil("\n", 10s);
       },
       "201 ready\r\n" + kHello + "(null)\r\nHandshake Failed\r\n"},
      {"level refused by closing", true,
       [](ServerPeer& peer) {
         peer.Send("201 ready\r\n");
         peer.ReadUntil("\n", 10s);
         peer.Send("200 hi\r\n");
         peer.ReadUntil("\r\n", 10s);
       },
       "201 ready\r\n" + kHello +
           "200 hi\r\nproto 3\r\n(null)\r\nSetting protocol level failed\r\n"},
      // NetTimeout (1 s) runs out with nothing received.
      {"silent http server", false, [](ServerPeer& peer) { peer.ReadUntilClosed(10s); },
       "GET /~cddb/cddb.cgi?cmd=sites&hello=jo+box+ZentaroCD+1.25&proto=3 HTTP/1.0\r\n"
       "(null)\r\n"},
  };
  for (const Case& c : cases) {
    LoopbackServer server(c.script);
    SitesRun run;
    run.settings.NetTimeout = 1;
    const std::string protocol = c.cddbp ? " CDDBP - 1 x." : " HTTP /~cddb/cddb.cgi 1 x.";
    run.SetServers({"s " + std::to_string(server.port()) + protocol});
    CddbConnection connection(TransportSettings::From(run.settings), run.log);
    EXPECT_EQ(GetSites(run.Context(), connection, "127.0.0.1"), std::nullopt) << c.name;
    EXPECT_EQ(run.Logged(),
              "GetSites initiated\r\n" + Connecting(server.port()) + c.log_after_connect)
        << c.name;
  }
}

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
    test::BasicAuthProxy proxy(c.proxy_user, c.proxy_password);
    ZCD_REQUIRE_PROXY(proxy);
    std::string request;
    auto upstream = std::make_unique<LoopbackServer>([&](ServerPeer& peer) {
      request = peer.ReadUntil("\r\n\r\n", 10s);
      peer.Send("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + kSitesBody);
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
