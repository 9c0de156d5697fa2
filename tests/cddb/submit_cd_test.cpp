#include "cddb/submit_cd.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <string>
#include <vector>

#include "base/cddb_status.h"
#include "base/command_ids.h"
#include "cddb/client_identity.h"
#include "cddb/loopback_server.h"
#include "cddb/scripted_submit_servers.h"
#include "cddb/server_list.h"
#include "cddb/submit_fixture.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::MailScript;
using test::ServeHttpPost;
using test::ServeMail;
using test::ServerPeer;
using test::SubmitEntry;
using test::SubmitWorker;
using Question = test::ScriptedWorkerHost::Question;

const std::string kUnofficial =
    "In order to submit a CD to the CD database, it must have\none of the following official "
    "CDDB categories:\n\nblues, classical, country, data, folk, jazz, misc, newage,\nreggae, "
    "rock, or soundtrack.\n\nPlease change the category and re-submit.";
const std::string kSetUp =
    "You don't have CDDB submitting set up yet.\nDo you wish to set it up now?";

std::string HeloLine() {
  const std::optional<std::string> host = SystemHostName();
  return "HELO " + (host && host->size() >= 2 ? *host : std::string("unknown")) + "\r\n";
}

// What the client sends in a whole mail dialogue, in order.
std::vector<std::string> MailDialogue() {
  return {HeloLine(),
          "MAIL FROM:<me@example.org>\r\n",
          "RCPT TO:<submit@gnudb.org>\r\n",
          "DATA\r\n",
          "From: me@example.org\r\nTo: submit@gnudb.org\r\nSubject: cddb rock 0c01a202\r\n\r\n"
          "# xmcd CD database file\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t14250\r\n"
          "#\r\n# Disc length: 420 seconds\r\n#\r\n# Revision: 2\r\n#\r\nDISCID=0c01a202\r\n"
          "DTITLE=Artist / Album\r\nTTITLE0=One\r\nTTITLE1=Two\r\nEXTD=Notes\r\n..\r\n...x\r\n"
          "EXTT0=\r\nEXTT1=\r\nPLAYORDER=\r\n.\r\n",
          "QUIT\r\n"};
}

TEST(SubmitCdTest, ChecksComeBeforeAnyConnectionAndAskTheirQuestions) {
  struct Case {
    const char* name;
    std::string category;  // of the entry; empty for an empty entry
    std::optional<std::string> user_email;
    std::optional<std::string> submit_address;
    MessageBoxAnswer answer;
    std::vector<Question> questions;
    std::vector<std::pair<int64_t, int64_t>> commands;
    std::vector<int> statuses;
  };
  const Question unofficial{kUnofficial, MessageBoxStyle::kExclamation, MessageBoxButtons::kOk};
  const Question set_up{kSetUp, MessageBoxStyle::kQuestion, MessageBoxButtons::kYesNo};
  const Question no_information{
      "You have not entered in any information for this CD.\nPlease enter disc name and all "
      "track titles before submitting.",
      MessageBoxStyle::kInformation, MessageBoxButtons::kOk};
  const std::string one_line_text =
      "The email addresses for submitting must each be on one line.\nPlease remove the line "
      "break on the Submitting page of the CDDB settings.";
  const Question one_line{one_line_text, MessageBoxStyle::kExclamation, MessageBoxButtons::kOk};
  const std::string me = "me@example.org";
  const Case cases[] = {
      // Rock passes and goes on to connect (to a port nobody listens on).
      {"Rock", "Rock", me, {}, {}, {}, {}, {kCddbStatusConnecting, kCddbStatusUnreachable}},
      {"Electronic", "Electronic", me, {}, {}, {unofficial}, {}, {}},
      {"nocategory", "nocategory", me, {}, {}, {unofficial}, {}, {}},
      {"cached", "cached", me, {}, {}, {unofficial}, {}, {}},
      {"empty entry", "", me, {}, {}, {no_information}, {}, {}},
      {"no sender, No", "rock", {}, {}, MessageBoxAnswer::kNo, {set_up}, {}, {}},
      {"no sender, Yes",
       "rock",
       "",
       {},
       MessageBoxAnswer::kYes,
       {set_up},
       {{kCmdCddbSettings, 11}},
       {}},
      {"forged sender", "rock", me + "\r\nRCPT TO:<x@example>", {}, {}, {one_line}, {}, {}},
      {"forged recipient", "rock", me, "a@example\nDATA", {}, {one_line}, {}, {}},
  };
  for (const Case& c : cases) {
    SubmitWorker worker;
    worker.settings.UserEmail = c.user_email;
    worker.settings.SubmitAddress = c.submit_address;
    worker.host.AnswerNext(c.answer);
    worker.Submit(c.category.empty() ? "" : SubmitEntry(c.category));
    EXPECT_EQ(worker.host.questions(), c.questions) << c.name;
    EXPECT_EQ(worker.host.commands(), c.commands) << c.name;
    EXPECT_EQ(worker.host.statuses(), c.statuses) << c.name;
    // Refused before the lock: nothing logged, the lock free.
    EXPECT_EQ(worker.Log().empty(), c.statuses.empty()) << c.name;
    EXPECT_TRUE(worker.lock.try_acquire()) << c.name;
  }
}

TEST(SubmitCdTest, WhileTheLockIsHeldNothingHappensAtAll) {
  SubmitWorker worker;
  worker.lock.acquire();
  worker.Submit();
  EXPECT_TRUE(worker.host.questions().empty());
  EXPECT_TRUE(worker.host.statuses().empty());
  EXPECT_EQ(worker.Log(), "");
  EXPECT_FALSE(worker.lock.try_acquire());
}

TEST(SubmitCdTest, EveryStepMustGetItsCodeAndRepliesMaySpanLines) {
  struct Case {
    const char* name;
    MailScript script;
    size_t commands_received;  // of MailDialogue
    int last_status;
  };
  const Case cases[] = {
      {"HELO answered 220", {"220 hi\r\n", {"220 what\r\n"}}, 1, kCddbStatusMailRefused},
      {"MAIL refused", {"220 hi\r\n", {"250 hi\r\n", "550 no\r\n"}}, 2, kCddbStatusMailRefused},
      {"RCPT refused",
       {"220 hi\r\n", {"250 hi\r\n", "250 ok\r\n", "550 no\r\n"}},
       3,
       kCddbStatusMailRefused},
      {"DATA answered 250",
       {"220 hi\r\n", {"250 hi\r\n", "250 ok\r\n", "250 ok\r\n", "250 ok\r\n"}},
       4,
       kCddbStatusMailRefused},
      {"mail refused",
       {"220 hi\r\n", {"250 hi\r\n", "250 ok\r\n", "250 ok\r\n", "354 go\r\n", "554 spam\r\n"}},
       5,
       kCddbStatusMailRefused},
      // Each reply comes whole in one piece; the next command must follow at
      // once, not after NetTimeout.
      {"replies over lines",
       {"220-mail.example ESMTP\r\n220-no spam\r\n220 ready\r\n",
        {"250-mail.example\r\n250-SIZE 1000\r\n250 HELP\r\n", "250 ok\r\n",
         "250-one\r\n250 two\r\n", "354 go\r\n", "250-queued\r\n250 as 12\r\n"}},
       6,
       kCddbStatusSubmitted},
      // The greeting's code is not judged; only a reply whose last line has
      // the code counts.
      {"last line judged",
       {"554-busy\r\n554 but talking\r\n", {"220-first\r\n250 last\r\n", "250-ok\r\n550 no\r\n"}},
       2,
       kCddbStatusMailRefused},
  };
  for (const Case& c : cases) {
    std::vector<std::string> received;
    LoopbackServer server([&](ServerPeer& peer) { received = ServeMail(peer, c.script, 5s); });
    SubmitWorker worker;
    worker.settings.SmtpServer = "127.0.0.1:" + std::to_string(server.port());
    worker.Submit();
    ASSERT_TRUE(test::WaitUntil([&] { return server.finished() == 1; }, 15s)) << c.name;
    std::vector<std::string> want = MailDialogue();
    want.resize(c.commands_received);
    if (c.last_status != kCddbStatusSubmitted)
      want.push_back("");  // then the client hangs up
    EXPECT_EQ(received, want) << c.name;
    EXPECT_EQ(worker.host.statuses(),
              (std::vector<int>{kCddbStatusConnecting, kCddbStatusMailAnswered, c.last_status}))
        << c.name;
    EXPECT_TRUE(worker.Log().ends_with("\r\n[stop]")) << c.name;
    EXPECT_TRUE(worker.lock.try_acquire()) << c.name;
    if (c.last_status != kCddbStatusSubmitted)
      continue;
    // A whole dialogue logs every command and every reply in turn.
    std::string log =
        "[start]Submit initiated\r\nConnecting To: " + worker.settings.SmtpServer.value_or("") +
        "\r\n" + c.script.greeting;
    for (size_t i = 0; i < c.script.replies.size(); ++i)
      log += want[i] + c.script.replies[i];
    EXPECT_EQ(worker.Log(), log + "QUIT\r\n[stop]") << c.name;
  }
}

TEST(SubmitCdTest, NoServerNoConnectionOrNoGreetingIs667WithItsLogLine) {
  // A bound socket that does not listen refuses connections.
  UniqueFd closed(socket(AF_INET, SOCK_STREAM, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(closed.get(), reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(getsockname(closed.get(), reinterpret_cast<sockaddr*>(&address), &size), 0);
  const std::string refusing = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  LoopbackServer silent([](ServerPeer& peer) { peer.ReadUntilClosed(10s); });
  const std::string quiet = "127.0.0.1:" + std::to_string(silent.port());

  struct Case {
    std::string server;
    std::string log_tail;
  };
  const Case cases[] = {
      // A name with a blank fails to resolve without asking any name server.
      {"bad host",
       "Connecting To: bad host:25\r\nGetHostName failed for smtp server: \"bad host\"\r\n"
       "GetHostName failed\r\n[stop]"},
      {refusing, "Connecting To: " + refusing + "\r\nConnect failed\r\n[stop]"},
      {quiet, "Connecting To: " + quiet + "\r\n(null)\r\nNo connect message\r\n[stop]"},
  };
  for (const Case& c : cases) {
    SubmitWorker worker;
    worker.settings.SmtpServer = c.server;
    worker.settings.NetTimeout = 1;
    worker.Submit();
    EXPECT_EQ(worker.host.statuses(),
              (std::vector<int>{kCddbStatusConnecting, kCddbStatusUnreachable}))
        << c.server;
    EXPECT_EQ(worker.Log(), "[start]Submit initiated\r\n" + c.log_tail);
    EXPECT_TRUE(worker.lock.try_acquire()) << c.server;
  }
}

std::string ServerLine(const std::string& host, int port, const std::string& protocol,
                       int is_default = 1) {
  return FormatServerLine({host, port, is_default, "Here", protocol, "/~cddb/cddb.cgi"});
}

TEST(SubmitCdTest, ByHttpPostsTheBodyToTheDefaultServerAndJudgesItsReply) {
  struct Case {
    std::string reply;
    int status;
  };
  const Case cases[] = {
      {"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n200 OK, submission has been sent.\r\n",
       kCddbStatusSubmitted},
      {"HTTP/1.0 200 OK\r\n\r\n500 Missing header\r\n", kCddbStatusMailRefused},
      {"HTTP/1.0 404 Not Found\r\n\r\n200 but not found\r\n", kCddbStatusMailRefused},
      {"", kCddbStatusMailRefused},
  };
  const std::string body = test::SubmittedBody();
  for (const Case& c : cases) {
    std::string request;
    LoopbackServer server([&](ServerPeer& peer) { request = ServeHttpPost(peer, c.reply); });
    SubmitWorker worker;
    worker.settings.SubmitMethod = kSubmitByHttp;
    worker.settings.SmtpServer.reset();  // not needed by HTTP
    worker.settings.NumServers = 1;
    worker.settings.Server = {ServerLine("127.0.0.1", server.port(), "HTTP")};
    worker.Submit(SubmitEntry("Rock"));
    ASSERT_TRUE(test::WaitUntil([&] { return server.finished() == 1; })) << c.reply;
    const std::string head =
        "POST /~cddb/submit.cgi HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
        "\r\nCategory: rock\r\nDiscid: 0c01a202\r\n"
        "User-Email: me@example.org\r\nSubmit-Mode: submit\r\n"
        "Content-Length: " +
        std::to_string(body.size()) + "\r\n\r\n";
    EXPECT_EQ(request, head + body);
    EXPECT_EQ(worker.host.statuses(),
              (std::vector<int>{kCddbStatusConnecting, kCddbStatusMailAnswered, c.status}))
        << c.reply;
    EXPECT_EQ(worker.Log(), "[start]Submit initiated\r\nConnecting To: 127.0.0.1:" +
                                std::to_string(server.port()) + "\r\n" + head + body +
                                (c.reply.empty() ? "(null)\r\n" : c.reply) + "[stop]");
  }
}

TEST(SubmitCdTest, ByHttpThroughTheProxyNamesTheServerAndSendsTheCredentialsUnlogged) {
  std::string request;
  LoopbackServer proxy([&](ServerPeer& peer) {
    request = ServeHttpPost(peer, "HTTP/1.0 200 OK\r\n\r\n200 OK\r\n");
  });
  SubmitWorker worker;
  worker.settings.SubmitMethod = kSubmitByHttp;
  worker.settings.NumServers = 2;
  // A CDDBP default is asked over HTTP on port 80.
  worker.settings.Server = {ServerLine("other.example", 8080, "HTTP", 0),
                            ServerLine("cddb.example", 8880, "CDDBP")};
  worker.settings.UseProxy = 1;
  worker.settings.HostName = "127.0.0.1";
  worker.settings.Port = proxy.port();
  worker.settings.useProxyAuth = 1;
  worker.settings.Username = "user";
  worker.settings.Password = "pass";
  worker.Submit();
  ASSERT_TRUE(test::WaitUntil([&] { return proxy.finished() == 1; }));
  const std::string head =
      "POST http://cddb.example/~cddb/submit.cgi HTTP/1.0\r\nHost: cddb.example\r\n"
      "Category: rock\r\nDiscid: 0c01a202\r\nUser-Email: me@example.org\r\n"
      "Submit-Mode: submit\r\nContent-Length: " +
      std::to_string(test::SubmittedBody().size()) + "\r\n";
  EXPECT_EQ(request,
            head + "Proxy-Authorization: Basic dXNlcjpwYXNz\r\n\r\n" + test::SubmittedBody());
  EXPECT_EQ(worker.host.statuses().back(), kCddbStatusSubmitted);
  EXPECT_EQ(worker.Log().find("Proxy-Authorization"), std::string::npos) << worker.Log();
}

}  // namespace
}  // namespace zcd
