#include "cddb/query_cd.h"

#include <gtest/gtest.h>

#include <thread>

#include "base/command_ids.h"
#include "cddb/cddb_test_servers.h"
#include "cddb/loopback_server.h"
#include "cddb/scripted_worker_host.h"
#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "support/basic_auth_proxy.h"
#include "support/temp_dir.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using test::CddbpServer;
using test::HttpServer;
using test::LoopbackServer;
using test::ReadReply;
using test::ServerPeer;
using test::TwoTracks;

const std::string& kId = test::kTwoTracksId;

class QueryCdTest : public testing::Test {
 protected:
  QueryCdTest() {
    record_->SetTiming(TwoTracks());
    settings_.EmailHello = 1;
    settings_.UserEmail = "jo@box";
    settings_.NetTimeout = 5;
  }

  void AddServer(const std::string& line) {
    settings_.Server.push_back(line);
    settings_.NumServers = static_cast<int>(settings_.Server.size());
  }
  void AddServer(int port, const std::string& protocol = "CDDBP", int is_default = 1) {
    AddServer("127.0.0.1 " + std::to_string(port) + " " + protocol + " " +
              (protocol == "HTTP" ? "/~cddb/cddb.cgi" : "-") + " " + std::to_string(is_default) +
              " Here.");
  }

  QueryEnd Run(const std::optional<ServerEntry>& server = std::nullopt) {
    return Run(host_, server);
  }
  QueryEnd Run(test::ScriptedWorkerHost& host, const std::optional<ServerEntry>& server = {}) {
    CddbConnection connection(TransportSettings::From(settings_), log_);
    return QueryCd({settings_, db_, log_, lock_, host}, connection, {record_, loaded_}, server);
  }
  // A query with a player of its own asking the one server at `port`.
  void RunAgainst(test::ScriptedWorkerHost& host, int port, const std::string& protocol = "CDDBP") {
    settings_.Server.clear();
    AddServer(port, protocol);
    Run(host);
  }
  CddbWorkerContext context() { return {settings_, db_, log_, lock_, host_}; }
  std::string Log() const { return dir_.Read("net.txt"); }

  test::TempDir dir_;
  std::string db_ = dir_.File("zcd.zdb");
  Settings settings_;
  NetLog log_{true, dir_.File("net.txt"), dir_.path()};
  std::binary_semaphore lock_{1};
  test::ScriptedWorkerHost host_;
  std::shared_ptr<DiscRecord> record_ = std::make_shared<DiscRecord>();
  std::shared_ptr<std::atomic<bool>> loaded_ = std::make_shared<std::atomic<bool>>(true);
};

TEST_F(QueryCdTest, CddbpExactMatchIsReadFiledAndShown) {
  CddbpServer cddb({"200 rock " + kId + " Artist / Album\r\n", ReadReply("rock")});
  AddServer(cddb.server().port());
  EXPECT_EQ(Run(), QueryEnd::kFinished);
  ASSERT_TRUE(test::WaitUntil([&] { return cddb.server().finished() == 1; }));
  // No "quit": the connection is simply closed.
  EXPECT_EQ(cddb.received(), "cddb hello jo box ZentaroCD 1.25\ncddb query " + kId +
                                 " 2 150 9000 180\r\ncddb read rock " + kId + "\r\n");
  EXPECT_EQ(host_.statuses(), (std::vector<int>{701, 702, 999}));
  // The Latin-1 title keeps its accent in the stored Windows-1252 text.
  EXPECT_EQ(record_->DiscTitle(), "Caf\xe9 / Vol.");
  EXPECT_EQ(record_->Category(), "rock");
  const std::optional<std::string> stored = DbFindEntry(db_, "rock/" + kId);
  ASSERT_TRUE(stored);
  EXPECT_NE(stored->find("DTITLE=Caf\xe9 / Vol.\r\n"), std::string::npos);
  EXPECT_TRUE(lock_.try_acquire()) << "the lock is given back";
  const std::string log = Log();
  EXPECT_NE(log.find("Query initiated\r\n"), std::string::npos);
  EXPECT_FALSE(log_.is_open());
}

// Whole, and with the status line, the "Vol." and the terminator's "."
// each ending a read of their own.
TEST_F(QueryCdTest, HttpQueryAndReadAreTwoRequests) {
  for (const test::Segments segments : {test::Segments::kWhole, test::Segments::kSplit}) {
    test::ScriptedWorkerHost host;
    HttpServer http(
        {"200 rock " + kId + " Artist / Album\r\n", ReadReply("rock", "Caf\xc3\xa9 / Vol.")},
        "200 OK", segments);
    record_ = std::make_shared<DiscRecord>();
    record_->SetTiming(TwoTracks());
    DbDeleteEntries(db_, kId);
    RunAgainst(host, http.server().port(), "HTTP");
    ASSERT_TRUE(test::WaitUntil([&] { return http.server().finished() == 2; }));
    EXPECT_EQ(http.requests(),
              (std::vector<std::string>{
                  "GET /~cddb/cddb.cgi?cmd=cddb+query+" + kId +
                      "+2+150+9000+180&hello=jo+box+ZentaroCD+1.25&proto=1 HTTP/1.0\n\r\n\r\n",
                  "GET /~cddb/cddb.cgi?cmd=cddb+read+rock+" + kId +
                      "&hello=jo+box+ZentaroCD+1.25&proto=1 HTTP/1.0\n\r\n\r\n"}));
    EXPECT_EQ(host.statuses(), (std::vector<int>{701, 702, 999}));
    // UTF-8 converts to the same stored bytes as Latin-1.
    EXPECT_EQ(record_->DiscTitle(), "Caf\xe9 / Vol.");
    EXPECT_EQ(record_->TrackTitle(1), "Two");
  }
}

struct OutcomeCase {
  const char* name;
  std::vector<std::string> replies;
  int no_fuzzy;
  int dialog_choice;
  std::string reads;  // the category read, empty for none
  int last_status;
};

TEST_F(QueryCdTest, RepliesLeadToTheRightReadOrToNoMatch) {
  const std::string inexact = "211 Found inexact matches\r\nrock " + kId + " A / B\r\njazz " + kId +
                              " C / D\r\nmisc " + kId + " E / F\r\n.\r\n";
  const OutcomeCase cases[] = {
      {"no match", {"202 No match for disc ID\r\n"}, 0, 0, "", 901},
      {"first close match", {inexact, ReadReply("rock")}, 1, 1, "rock", 999},
      {"second picked", {inexact, ReadReply("jazz")}, 0, 1, "jazz", 999},
      {"none picked", {inexact}, 0, -1, "", 901},
      // An error line in place of the entry never becomes the entry.
      {"read refused",
       {"200 rock " + kId + " A / B\r\n", "401 rock " + kId + " No such entry\r\n"},
       0,
       0,
       "rock",
       901},
  };
  for (const OutcomeCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::ScriptedWorkerHost host;
    host.match = c.dialog_choice;
    CddbpServer cddb(c.replies);
    settings_.NoFuzzyMatch = c.no_fuzzy;
    RunAgainst(host, cddb.server().port());
    ASSERT_TRUE(test::WaitUntil([&] { return cddb.server().finished() == 1; }));
    EXPECT_EQ(host.statuses().back(), c.last_status);
    const std::string read = "cddb read " + c.reads + " " + kId + "\r\n";
    EXPECT_EQ(cddb.received().find(read) != std::string::npos, !c.reads.empty());
    EXPECT_EQ(host.match_replies().size(), c.replies[0] == inexact && !c.no_fuzzy ? 1u : 0u);
    EXPECT_EQ(DbHasEntry(db_, kId), c.last_status == 999);
    DbDeleteEntries(db_, kId);
  }
}

TEST_F(QueryCdTest, WithoutServersTheUserIsOfferedTheSettings) {
  for (const MessageBoxAnswer answer : {MessageBoxAnswer::kYes, MessageBoxAnswer::kNo}) {
    test::ScriptedWorkerHost host;
    host.answer = answer;
    Run(host);
    EXPECT_EQ(host.statuses(), std::vector<int>{667});
    EXPECT_EQ(host.questions(),
              (std::vector<test::ScriptedWorkerHost::Question>{
                  {"You don't have any CDDB servers have been defined.\nDo you wish to set them "
                   "up now?",
                   MessageBoxStyle::kQuestion, MessageBoxButtons::kYesNo}}));
    const bool yes = answer == MessageBoxAnswer::kYes;
    using Commands = std::vector<std::pair<int64_t, int64_t>>;
    EXPECT_EQ(host.commands(), (yes ? Commands{{kCmdCddbSettings, 0}} : Commands{}));
    EXPECT_EQ(host.auto_info_off(), !yes);
  }
}

TEST_F(QueryCdTest, ASecondQueryIsRefusedWithALogLineOnly) {
  ASSERT_TRUE(lock_.try_acquire());
  EXPECT_EQ(Run(), QueryEnd::kLockHeld);
  lock_.release();
  EXPECT_TRUE(host_.statuses().empty());
  EXPECT_NE(Log().find("CDDB Query already in use"), std::string::npos);
  EXPECT_FALSE(log_.is_open());
}

TEST_F(QueryCdTest, AKnownDiscIsReplacedOnlyWhenTheUserSaysSo) {
  ASSERT_EQ(DbAddEntry(db_, "misc/" + kId, "old entry\r\n.\r\n"), 1);
  for (const MessageBoxAnswer answer : {MessageBoxAnswer::kNo, MessageBoxAnswer::kYes}) {
    test::ScriptedWorkerHost host;
    host.answer = answer;
    CddbpServer cddb({"200 rock " + kId + " A / B\r\n", ReadReply("rock")});
    RunAgainst(host, cddb.server().port());
    EXPECT_EQ(host.statuses().back(), 999);
    ASSERT_EQ(host.questions().size(), 1u);
    EXPECT_EQ(host.questions()[0].style, MessageBoxStyle::kInformation);
    const bool yes = answer == MessageBoxAnswer::kYes;
    EXPECT_EQ(DbHasEntry(db_, "misc/" + kId), !yes);
    EXPECT_EQ(DbHasEntry(db_, "rock/" + kId), yes);
  }
}

TEST_F(QueryCdTest, ACachedDiscIsReplacedWithoutAQuestion) {
  ASSERT_EQ(DbAddEntry(db_, "cached/" + kId, "300 cached\r\n.\r\n"), 1);
  record_->SetCategory("cached");
  CddbpServer cddb({"200 rock " + kId + " A / B\r\n", ReadReply("rock")});
  AddServer(cddb.server().port());
  CddbConnection connection(TransportSettings::From(settings_), log_);
  QueryCd(context(), connection, {record_, nullptr});
  EXPECT_TRUE(host_.questions().empty());
  EXPECT_FALSE(DbHasEntry(db_, "cached/" + kId));
  EXPECT_TRUE(DbHasEntry(db_, "rock/" + kId));
}

TEST_F(QueryCdTest, ADiscThatLeftDuringTheQueryIsNotStored) {
  CddbpServer cddb({"200 rock " + kId + " A / B\r\n"});
  AddServer(cddb.server().port());
  loaded_->store(false);
  Run();
  EXPECT_EQ(host_.statuses(), (std::vector<int>{701, 702, 0}));
  EXPECT_FALSE(DbHasEntry(db_, kId));
}

TEST_F(QueryCdTest, ConnectsChoiceIsUsedOverTheDefault) {
  CddbpServer chosen({"202 No match\r\n"});
  AddServer("nowhere.invalid 8880 CDDBP - 1 Default.");
  Run(ServerEntry{"127.0.0.1", chosen.server().port(), 0, "", "CDDBP", "-"});
  EXPECT_EQ(chosen.server().accepted(), 1);
  EXPECT_EQ(host_.statuses().back(), 901);
}

// The player ends while the server says nothing: the query ends at once.
TEST_F(QueryCdTest, StoppingEndsAQueryWaitingOnASilentServer) {
  std::atomic<bool> hold = true;
  LoopbackServer silent([&](ServerPeer& peer) {
    while (hold)
      peer.ReadUntil("never", 50ms);
  });
  AddServer(silent.port());
  settings_.NetTimeout = 60;
  CddbConnection connection(TransportSettings::From(settings_), log_);
  std::thread worker([&] { QueryCd(context(), connection, {record_, loaded_}); });
  ASSERT_TRUE(test::WaitUntil([&] { return silent.accepted() == 1; }));
  connection.Stop();
  ASSERT_TRUE(test::WaitUntil([&] { return lock_.try_acquire(); }, 5s));
  lock_.release();
  hold = false;
  worker.join();
  EXPECT_EQ(host_.statuses().back(), 667);
}

// A whole query over HTTP through a real proxy that wants Basic credentials,
// to a CDDB server on a port of its own.
class QueryCdProxyTest : public QueryCdTest {};

TEST_F(QueryCdProxyTest, OnlyTheRightCredentialsBringTheEntry) {
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
    HttpServer upstream({"200 rock " + kId + " Artist / Album\r\n", ReadReply("rock")});
    settings_.NetTimeout = 10;
    settings_.UseProxy = 1;
    settings_.HostName = "127.0.0.1";
    settings_.Port = proxy.port();
    settings_.useProxyAuth = 1;
    settings_.Username = c.user;
    settings_.Password = c.given_password;
    record_ = std::make_shared<DiscRecord>();
    record_->SetTiming(TwoTracks());
    DbDeleteEntries(db_, kId);
    test::ScriptedWorkerHost host;
    RunAgainst(host, upstream.server().port(), "HTTP");

    EXPECT_EQ(host.statuses(), (std::vector<int>{701, 702, c.stored ? 999 : 901})) << proxy.Log();
    EXPECT_EQ(DbHasEntry(db_, "rock/" + kId), c.stored);
    EXPECT_EQ(record_->Category(), c.stored ? std::optional<std::string>("rock") : std::nullopt);
    if (!c.stored) {
      EXPECT_TRUE(upstream.requests().empty());
      continue;
    }
    ASSERT_TRUE(test::WaitUntil([&] { return upstream.server().finished() == 2; }));
    const std::vector<std::string> requests = upstream.requests();
    // The proxy forwards the path alone, not the full address it was given.
    EXPECT_TRUE(requests[0].starts_with("GET /~cddb/cddb.cgi?cmd=cddb+query+" + kId +
                                        "+2+150+9000+180" + hello))
        << requests[0];
    EXPECT_TRUE(requests[1].starts_with("GET /~cddb/cddb.cgi?cmd=cddb+read+rock+" + kId + hello))
        << requests[1];
    for (const std::string& request : requests)
      EXPECT_EQ(request.find("Proxy-Authorization"), std::string::npos) << request;
  }
}

}  // namespace
}  // namespace zcd
