// Time of one disc's CDDB query and read against in-process servers on the
// loopback address, over CDDBP and HTTP, with replies sent whole or cut
// into pieces (an HTTP status line apart, the terminator's "." apart from
// its CR LF), and with a last title ending in "Vol.". NetTimeout is 20 s, so a reader
// that kept waiting after a complete reply would take 20 s: an iteration of
// a second or more fails the run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <semaphore>
#include <string>

#include "base/settings.h"
#include "cddb/cddb_connection.h"
#include "cddb/cddb_test_servers.h"
#include "cddb/net_log.h"
#include "cddb/query_cd.h"
#include "cddb/scripted_worker_host.h"
#include "discdb/database.h"
#include "support/temp_dir.h"

namespace zcd::bench {
namespace {

using test::Segments;

constexpr auto kTooSlow = std::chrono::seconds(1);
// Set by a failed run, so that `make bench` stops with an error too.
bool g_failed = false;

void Fail(benchmark::State& state, const char* why) {
  state.SkipWithError(why);
  g_failed = true;
}

struct Case {
  const char* name;
  bool http;
  Segments segments;
  const char* last_track;  // the title on the line before the terminator
};

constexpr char kPlain[] = "Two";
constexpr char kVolume[] = "Greatest Hits Vol.";

const Case kCases[] = {
    {"CDDBP/whole", false, Segments::kWhole, kPlain},
    {"CDDBP/split", false, Segments::kSplit, kPlain},
    {"CDDBP/vol_whole", false, Segments::kWhole, kVolume},
    {"CDDBP/vol_split", false, Segments::kSplit, kVolume},
    {"HTTP/whole", true, Segments::kWhole, kPlain},
    {"HTTP/split", true, Segments::kSplit, kPlain},
    {"HTTP/vol_whole", true, Segments::kWhole, kVolume},
    {"HTTP/vol_split", true, Segments::kSplit, kVolume},
};

// A server playing the case and a player's worth of settings, database and
// log (off, as it is by default) pointing at it.
class Rig {
 public:
  explicit Rig(const Case& c) {
    const std::string query = "200 rock " + test::kTwoTracksId + " Artist / Album\r\n";
    const std::string read = test::ReadReply("rock", "Artist / Album", c.last_track);
    int port = 0;
    if (c.http) {
      http_ = std::make_unique<test::HttpServer>(std::vector{query, read}, "200 OK", c.segments);
      port = http_->server().port();
    } else {
      cddbp_ = std::make_unique<test::CddbpServer>(std::vector{query, read}, c.segments);
      port = cddbp_->server().port();
    }
    settings.EmailHello = 1;
    settings.UserEmail = "jo@box";
    settings.NetTimeout = 20;
    settings.Server = {"127.0.0.1 " + std::to_string(port) +
                       (c.http ? " HTTP /~cddb/cddb.cgi" : " CDDBP -") + " 1 Here."};
    settings.NumServers = 1;
  }

  // A new record of the disc, as a freshly loaded disc has.
  QueryDisc FreshDisc() const {
    auto record = std::make_shared<DiscRecord>();
    record->SetTiming(test::TwoTracks());
    return {record, std::make_shared<std::atomic<bool>>(true)};
  }

  Settings settings;
  test::TempDir dir;
  std::string db = dir.File("ZCD.zdb");
  NetLog log{false, "", dir.path()};
  std::binary_semaphore lock{1};

 private:
  std::unique_ptr<test::CddbpServer> cddbp_;
  std::unique_ptr<test::HttpServer> http_;
};

// Times one call; false (with the run failed) when it took a second or more.
template <typename Call>
bool Timed(benchmark::State& state, double& slowest_ms, Call call) {
  const auto start = std::chrono::steady_clock::now();
  call();
  const auto took = std::chrono::steady_clock::now() - start;
  slowest_ms = std::max(slowest_ms, std::chrono::duration<double, std::milli>(took).count());
  if (took < kTooSlow)
    return true;
  Fail(state, "an iteration took a second or more: a wait for the time-out");
  return false;
}

// The whole worker: query, read, filing in a database without the disc and
// reading the entry into the record.
void BM_QueryCd(benchmark::State& state, const Case& c) {
  Rig rig(c);
  double slowest_ms = 0;
  for (auto _ : state) {
    state.PauseTiming();
    DbDeleteEntries(rig.db, test::kTwoTracksId);
    const QueryDisc disc = rig.FreshDisc();
    test::ScriptedWorkerHost host;
    CddbConnection connection(TransportSettings::From(rig.settings), rig.log);
    const CddbWorkerContext context{rig.settings, rig.db, rig.log, rig.lock, host};
    state.ResumeTiming();
    if (!Timed(state, slowest_ms, [&] { QueryCd(context, connection, disc); }))
      break;
    if (host.statuses().back() != 999 || disc.record->TrackTitle(1) != c.last_track) {
      Fail(state, "the entry was not stored and read");
      break;
    }
  }
  state.counters["slowest_ms"] = slowest_ms;
}

// The network half alone: query and read, no filing.
void BM_QueryAndRead(benchmark::State& state, const Case& c) {
  Rig rig(c);
  const QueryDisc disc = rig.FreshDisc();
  test::ScriptedWorkerHost host;
  const CddbWorkerContext context{rig.settings, rig.db, rig.log, rig.lock, host};
  const std::string last_line = std::string("TTITLE1=") + c.last_track + "\r\n.\r\n";
  double slowest_ms = 0;
  for (auto _ : state) {
    CddbConnection connection(TransportSettings::From(rig.settings), rig.log);
    std::optional<std::string> entry;
    if (!Timed(state, slowest_ms, [&] { entry = QueryAndRead(context, connection, disc); }))
      break;
    if (!entry || !entry->ends_with(last_line)) {
      Fail(state, "the entry did not arrive whole");
      break;
    }
  }
  state.counters["slowest_ms"] = slowest_ms;
}

void Register() {
  for (const Case& c : kCases) {
    for (const auto& [name, function] :
         {std::pair{"QueryCd/", &BM_QueryCd}, std::pair{"QueryAndRead/", &BM_QueryAndRead}}) {
      benchmark::RegisterBenchmark((std::string(name) + c.name).c_str(), function, c)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
}

}  // namespace
}  // namespace zcd::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  zcd::bench::Register();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return zcd::bench::g_failed ? 1 : 0;
}
