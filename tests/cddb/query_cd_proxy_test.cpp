#include <gtest/gtest.h>

#include <memory>
#include <semaphore>
#include <string>

#include "cddb/cddb_test_servers.h"
#include "cddb/query_cd.h"
#include "cddb/scripted_worker_host.h"
#include "discdb/database.h"
#include "support/basic_auth_proxy.h"
#include "support/temp_dir.h"
#include "support/wait.h"

namespace zcd {
namespace {

using test::kTwoTracksId;

// A whole query over HTTP through a real proxy that wants Basic credentials,
// to a CDDB server on a port of its own.
TEST(QueryCdProxyTest, OnlyTheRightCredentialsBringTheEntry) {
  const std::string long_user(30, 'u');
  const std::string long_password(40, 'p');
  struct Case {
    const char* name;
    std::string user, password;  // what the proxy wants
    std::string given_password;  // what the settings hold
    bool stored;
  };
  const Case cases[] = {
      {"right credentials", "zcd", "secret", "secret", true},
      // The proxy's refusal page is no match.
      {"wrong password", "zcd", "secret", "guess", false},
      // "user:password" beyond 54 bytes: one header line, not broken in two.
      {"long credentials", long_user, long_password, long_password, true},
  };
  const std::string hello = "&hello=jo+box+ZentaroCD+1.25&proto=1 HTTP/1.0\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::BasicAuthProxy proxy(c.user, c.password);
    ZCD_REQUIRE_PROXY(proxy);
    test::HttpServer upstream(
        {"200 rock " + kTwoTracksId + " Artist / Album\r\n", test::ReadReply("rock")});
    test::TempDir dir;
    const std::string db = dir.File("ZCD.zdb");
    Settings settings;
    settings.EmailHello = 1;
    settings.UserEmail = "jo@box";
    settings.NetTimeout = 10;
    settings.Server = {"127.0.0.1 " + std::to_string(upstream.server().port()) +
                       " HTTP /~cddb/cddb.cgi 1 Here."};
    settings.NumServers = 1;
    settings.UseProxy = 1;
    settings.HostName = "127.0.0.1";
    settings.Port = proxy.port();
    settings.useProxyAuth = 1;
    settings.Username = c.user;
    settings.Password = c.given_password;
    NetLog log(false, "", dir.path());
    std::binary_semaphore lock{1};
    test::ScriptedWorkerHost host;
    auto record = std::make_shared<DiscRecord>();
    record->SetTiming(test::TwoTracks());

    CddbConnection connection(TransportSettings::From(settings), log);
    QueryCd({settings, db, log, lock, host}, connection,
            {record, std::make_shared<std::atomic<bool>>(true)});

    EXPECT_EQ(host.statuses(), (std::vector<int>{701, 702, c.stored ? 999 : 901})) << proxy.Log();
    EXPECT_EQ(DbHasEntry(db, "rock/" + kTwoTracksId), c.stored);
    EXPECT_EQ(record->Category(), c.stored ? std::optional<std::string>("rock") : std::nullopt);
    if (!c.stored) {
      EXPECT_TRUE(upstream.requests().empty());
      continue;
    }
    ASSERT_TRUE(test::WaitUntil([&] { return upstream.server().finished() == 2; }));
    const std::vector<std::string> requests = upstream.requests();
    // The proxy forwards the path alone, not the full address it was given.
    EXPECT_TRUE(requests[0].starts_with("GET /~cddb/cddb.cgi?cmd=cddb+query+" + kTwoTracksId +
                                        "+2+150+9000+180" + hello))
        << requests[0];
    EXPECT_TRUE(
        requests[1].starts_with("GET /~cddb/cddb.cgi?cmd=cddb+read+rock+" + kTwoTracksId + hello))
        << requests[1];
    for (const std::string& request : requests)
      EXPECT_EQ(request.find("Proxy-Authorization"), std::string::npos) << request;
  }
}

}  // namespace
}  // namespace zcd
