#include <gtest/gtest.h>

#include <atomic>

#include "app/main_window_fixture.h"
#include "base/command_ids.h"
#include "cddb/loopback_server.h"
#include "cddb/submit_cd.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::ServerPeer;

// A CDDBP server that finds every disc it is asked for.
void FindingServer(ServerPeer& peer) {
  peer.Send("201 ready\r\n");
  peer.ReadUntil("\n", 5s);
  peer.Send("200 hello\r\n");
  const std::string query = peer.ReadUntil("\r\n", 5s);
  if (query.size() < 19)
    return;
  const std::string id = query.substr(11, 8);
  peer.Send("200 rock " + id + " Found / Album\r\n");
  peer.ReadUntil("\r\n", 5s);
  peer.Send("210 rock " + id + " entry\r\n# xmcd\r\n#\r\n# Revision: 1\r\n#\r\nDISCID=" + id +
            "\r\nDTITLE=Found / Album\r\nTTITLE0=First\r\nTTITLE1=Second\r\nTTITLE2=Third\r\n" +
            "EXTD=\r\nPLAYORDER=\r\n.\r\n");
  peer.ReadUntilClosed(5s);
}

class MainWindowCddbTest : public test::MainWindowTest {
 protected:
  void UseServer(int port) {
    settings_.Server = {"127.0.0.1 " + std::to_string(port) + " CDDBP - 1 Here."};
    settings_.NumServers = 1;
  }
  // Hands the window every message up to the one `done` picks out (that
  // one too when `handle_it`), and nothing after it.
  bool DrainUntil(const std::function<bool(const Message&)>& done, bool handle_it) {
    bool reached = false;
    return test::WaitUntil([&] {
      queue_.Drain([&](const Message& m) {
        if (reached)
          return;
        reached = done(m);
        if (!reached || handle_it)
          window_->HandleMessage(m);
      });
      return reached;
    });
  }
};

TEST_F(MainWindowCddbTest, ANewDiscIsQueriedAndFiledAndItsTitlesShown) {
  LoopbackServer server(FindingServer);
  UseServer(server.port());
  settings_.AutoInfo = 1;
  Start();
  // Start's own drain may already have handled the worker's last word.
  ASSERT_TRUE(test::WaitUntil([&] {
    Drain();
    return window_->monitor().status_word() == kCddbStatusDone;
  }));
  EXPECT_EQ(Cd().disc().DiscTitle(), "Found / Album");
  EXPECT_EQ(Cd().disc().TrackTitle(2), "Third");
  EXPECT_EQ(host_->caption(), "ZCD: Found / Album");
  EXPECT_TRUE(DbHasEntry(home_.File("ZCD.zdb"), "rock/" + *Cd().disc().DiscIdText()));
}

TEST_F(MainWindowCddbTest, EndingThePlayerEndsAQueryWhereverItWaits) {
  // Waiting on a server that never answers.
  {
    std::atomic<bool> hold = true;
    LoopbackServer silent([&](ServerPeer& peer) {
      while (hold)
        peer.ReadUntil("never", 20ms);
    });
    UseServer(silent.port());
    settings_.NetTimeout = 600;
    Start();
    Post(kCmdQueryCddb);
    ASSERT_TRUE(test::WaitUntil([&] { return silent.accepted() == 1; }));
    window_->Destroy();
    hold = false;
    EXPECT_TRUE(window_->destroyed());
  }
  // Waiting for the user to answer whether a stored entry is replaced.
  StoreEntry("");
  LoopbackServer server(FindingServer);
  UseServer(server.port());
  Start();
  // Posted, not drained here: a quick worker's question must not be
  // answered by a drain that is still handling the command.
  queue_.Post(CommandMessage(kCmdQueryCddb));
  ASSERT_TRUE(DrainUntil(
      [](const Message& m) { return m.id == kMsgPlayer && m.wparam == kPlayerWindowCall; }, false));
  window_->Destroy();
  EXPECT_TRUE(host_->message_boxes().empty());
  EXPECT_EQ(DbFindEntry(home_.File("ZCD.zdb"), "rock/")->find("Found"), std::string::npos);
}

TEST_F(MainWindowCddbTest, ACachedDiscInTheDriveShowsItsTitlesOnceTheCachedPassFindsIt) {
  LoopbackServer server(FindingServer);
  UseServer(server.port());
  settings_.AutoInfo = 1;
  settings_.CacheQuery = 1;
  Start();
  const std::string db = home_.File("ZCD.zdb");
  ASSERT_TRUE(DbHasEntry(db, "cached/"));
  EXPECT_EQ(server.accepted(), 0);
  Post(kCmdQueryCached);
  ASSERT_TRUE(test::WaitUntil([&] {
    Drain();
    return host_->caption() == "ZCD: Found / Album";
  }));
  EXPECT_EQ(Cd().disc().TrackTitle(0), "First");
  EXPECT_FALSE(DbHasEntry(db, "cached/"));
}

TEST_F(MainWindowCddbTest, SubmittingADiscWithoutAnEntrySaysSoAndSendsNothing) {
  Start();
  Post(kCmdSubmit);
  ASSERT_TRUE(test::WaitUntil([&] {
    Drain();
    return !host_->message_boxes().empty();
  }));
  EXPECT_EQ(host_->message_boxes()[0].text, kNoInformationText);
}

// The query's record outlives the drive state it came from, and the query
// sees that its disc is gone.
TEST_F(MainWindowCddbTest, ADriveChangeDuringAQueryFilesNothing) {
  const auto second = cd_.table.AddVirtualDisc(MakeAudioDisc({60}));
  ASSERT_TRUE(second.index);
  std::atomic<bool> answer = false;
  LoopbackServer server([&](ServerPeer& peer) {
    test::WaitUntil([&] { return answer.load(); });
    FindingServer(peer);
  });
  UseServer(server.port());
  Start();
  Post(kCmdQueryCddb);
  ASSERT_TRUE(test::WaitUntil([&] { return server.accepted() == 1; }));
  Post(kCmdDriveBase + *second.index);
  answer = true;
  ASSERT_TRUE(DrainUntil(
      [](const Message& m) {
        return m.id == kMsgPlayer && m.wparam == kPlayerCddbStatus && m.lparam == kCddbStatusClear;
      },
      true));
  EXPECT_FALSE(DbHasEntry(home_.File("ZCD.zdb"), "rock/"));
}

}  // namespace
}  // namespace zcd
