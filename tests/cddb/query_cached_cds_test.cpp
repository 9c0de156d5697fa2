#include "cddb/query_cached_cds.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>

#include "cddb/loopback_server.h"
#include "cddb/scripted_worker_host.h"
#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/entry_text.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::ServerPeer;

DiscTiming Disc(int second_track) {
  DiscTiming timing;
  timing.track_count = 2;
  timing.toc[0] = TrackTocEntry::FromFrames(150);
  timing.toc[1] = TrackTocEntry::FromFrames(second_track);
  timing.toc[2] = TrackTocEntry::FromFrames(180 * kFramesPerSecond + 150);
  timing.disc_seconds = 182;
  return timing;
}

// A CDDBP server that knows some discs, each a number of queries after it
// was first asked for (0: at once).
class KnowingServer {
 public:
  void Know(const std::string& id, int after_queries) {
    std::lock_guard hold(lock_);
    known_[id] = after_queries;
  }

 private:
  std::string Answer(const std::string& line) {
    std::lock_guard hold(lock_);
    if (line.starts_with("cddb read rock ")) {
      const std::string id = line.substr(15, 8);
      return "210 rock " + id +
             " entry follows\r\n# xmcd\r\n#\r\n# Revision: 1\r\n#\r\nDISCID=" + id +
             "\r\nDTITLE=A / " + id + "\r\nTTITLE0=a\r\nTTITLE1=b\r\n.\r\n";
    }
    const std::string id = line.substr(11, 8);
    const auto found = known_.find(id);
    if (found == known_.end() || found->second-- > 0)
      return "202 No match for " + id + "\r\n";
    return "200 rock " + id + " A / " + id + "\r\n";
  }

  std::mutex lock_;
  std::map<std::string, int> known_;
  LoopbackServer server_{[this](ServerPeer& peer) {
    peer.Send("201 ready\r\n");
    peer.ReadUntil("\n", 5s);
    peer.Send("200 hello\r\n");
    for (std::string line; !(line = peer.ReadUntil("\r\n", 5s)).empty();)
      peer.Send(Answer(line));
  }};

 public:
  const int port = server_.port();
};

class QueryCachedCdsTest : public testing::Test {
 protected:
  QueryCachedCdsTest() {
    settings_.Server = {"127.0.0.1 " + std::to_string(server_.port) + " CDDBP - 1 Here."};
    settings_.NumServers = 1;
    settings_.NetTimeout = 5;
    CacheDiscs();
  }

  void CacheDiscs() {
    ids_.clear();
    for (int second : {9000, 9100, 9200}) {
      DiscRecord record;
      record.SetTiming(Disc(second));
      const std::string id = DiscIdText(ComputeCddbDiscId(record.Timing()));
      ids_.push_back(id);
      record.SetDiscIdText(id);
      record.SetCategory("cached");
      EXPECT_EQ(DbAddEntry(db_, EntryKey("cached", id), BuildNewEntryText(record, true)), 1);
    }
  }

  // The counts reported and the discs found, in order.
  std::vector<int> Run() {
    CddbConnection connection(TransportSettings::From(settings_), log_);
    std::vector<int> counts;
    QueryCachedCds({settings_, db_, log_, lock_, host_}, connection,
                   {[&](int cached) { counts.push_back(cached); },
                    [&](const std::string& id) { found_.push_back(id); }});
    return counts;
  }

  test::TempDir dir_;
  std::string db_ = dir_.File("zcd.zdb");
  Settings settings_;
  NetLog log_{false, "", dir_.path()};
  std::binary_semaphore lock_{1};
  test::ScriptedWorkerHost host_;
  KnowingServer server_;
  std::vector<std::string> ids_;  // in the order they were cached
  std::vector<std::string> found_;
};

TEST_F(QueryCachedCdsTest, EveryCachedDiscFoundBecomesARegularEntry) {
  for (const std::string& id : ids_)
    server_.Know(id, 0);
  EXPECT_EQ(Run(), (std::vector<int>{2, 1, 0}));
  // Most recently cached first.
  EXPECT_EQ(found_, (std::vector<std::string>{ids_[2], ids_[1], ids_[0]}));
  for (const std::string& id : ids_) {
    EXPECT_TRUE(DbHasEntry(db_, "rock/" + id));
    EXPECT_FALSE(DbHasEntry(db_, "cached/" + id));
  }
  EXPECT_EQ(host_.cached_questions(), 0);
}

struct FailureCase {
  const char* name;
  std::vector<CachedQueryChoice> answers;
  std::vector<int> counts;
  bool middle_cached;  // the unknown disc keeps its cached entry
  bool middle_known;   // and has any entry at all
  bool last_queried;
};

// The middle disc is found only when asked a second time.
TEST_F(QueryCachedCdsTest, ADiscNotFoundIsRetriedIgnoredRemovedOrEndsThePass) {
  const FailureCase cases[] = {
      {"retry", {CachedQueryChoice::kRetry}, {2, 1, 0}, false, true, true},
      {"ignore", {CachedQueryChoice::kIgnore}, {2, 1}, true, true, true},
      {"remove", {CachedQueryChoice::kRemove}, {2, 1, 0}, false, false, true},
      {"stop", {CachedQueryChoice::kStop}, {2}, true, true, false},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    db_ = dir.File("zcd.zdb");
    CacheDiscs();
    server_.Know(ids_[0], 0);
    server_.Know(ids_[1], 1);
    server_.Know(ids_[2], 0);
    host_.cached_answers = c.answers;
    EXPECT_EQ(Run(), c.counts);
    EXPECT_EQ(DbHasEntry(db_, "cached/" + ids_[1]), c.middle_cached);
    EXPECT_EQ(DbHasEntry(db_, ids_[1]), c.middle_known);
    EXPECT_EQ(DbHasEntry(db_, "rock/" + ids_[0]), c.last_queried);
  }
}

TEST_F(QueryCachedCdsTest, AQueryRunningEndsThePassBeforeItStarts) {
  ASSERT_TRUE(lock_.try_acquire());
  EXPECT_TRUE(Run().empty());
  lock_.release();
  EXPECT_EQ(host_.cached_questions(), 0);
  EXPECT_TRUE(DbHasEntry(db_, "cached/" + ids_[0]));
}

}  // namespace
}  // namespace zcd
