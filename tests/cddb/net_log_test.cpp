#include "cddb/net_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace zcd {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// The time in the start and stop lines as a fixed word.
std::string WithoutTimes(const std::string& text) {
  static const std::regex kTime(
      "[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\\d \\d\\d:\\d\\d:\\d\\d \\d{4}\n");
  return std::regex_replace(text, kTime, "TIME\n");
}

TEST(NetLogTest, OffTouchesNothing) {
  test::TempDir dir;
  NetLog log(false, "", dir.path());
  log.Write(LogStart);
  log.Write(LogInfo, "x");
  log.Write(LogStop);
  EXPECT_FALSE(Exists(dir.File("ZCDNetLog.txt")));
  EXPECT_EQ(log.log_file(), "");
}

TEST(NetLogTest, WritesEveryCodeByItsRuleIntoTheDefaultFile) {
  test::TempDir dir;
  dir.Write("ZCDNetLog.txt", "old\r\n");
  NetLog log(true, "", dir.path());
  log.Write(LogInfo, "before the start\r\n");
  log.Write(LogStart);
  EXPECT_EQ(log.log_file(), dir.File("ZCDNetLog.txt"));
  log.Write(LogSent, "cddb hello a b ZentaroCD 1.25\n");
  log.Write(LogReceived, std::nullopt);
  log.Write(LogReceived, "50% off");
  log.Write(7, "ignored");
  log.Write(LogStart);  // keeps the file, writes another start line
  log.Write(LogStop);
  log.Write(LogInfo, "after the stop\r\n");
  EXPECT_FALSE(log.is_open());
  EXPECT_EQ(WithoutTimes(dir.Read("ZCDNetLog.txt")),
            "old\r\n***Logging Started:\tTIME\ncddb hello a b ZentaroCD 1.25\n(null)\r\n"
            "50% off!!!unknown log message\r\n***Logging Started:\tTIME\n"
            "***Stopped Logging:\tTIME\n\r\n\r\n");

  // A log file that cannot be opened leaves the log closed.
  log.SetLogFile(dir.File("missing/net.txt"));
  log.Write(LogStart);
  EXPECT_FALSE(log.is_open());
  EXPECT_EQ(log.log_file(), dir.File("missing/net.txt"));
}

TEST(NetLogTest, WorkersStartingAndStoppingSideBySideLoseNoLine) {
  test::TempDir dir;
  NetLog log(true, dir.File("net.txt"), dir.path());
  constexpr int kWorkers = 4;
  constexpr int kRounds = 200;
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&log, w] {
      for (int i = 0; i < kRounds; ++i) {
        log.Write(LogStart);
        log.Write(LogSent, "worker " + std::to_string(w) + " line " + std::to_string(i) + "\r\n");
        log.Write(LogStop);
      }
    });
  }
  for (std::thread& worker : workers)
    worker.join();
  // Lines of a worker whose log another's stop closed are dropped, as the
  // log is shared; but every line written is whole, and every start wrote.
  const std::string text = WithoutTimes(dir.Read("net.txt"));
  const std::regex piece(
      "\\*\\*\\*Logging Started:\tTIME\n|\\*\\*\\*Stopped Logging:\tTIME\n\r\n\r\n|"
      "worker \\d line \\d+\r\n");
  int starts = 0;
  for (auto at = text.begin(); at != text.end();) {
    std::smatch match;
    ASSERT_TRUE(
        std::regex_search(at, text.end(), match, piece, std::regex_constants::match_continuous))
        << std::string(at, text.end()).substr(0, 80);
    starts += match.str().starts_with("***Logging") ? 1 : 0;
    at += match.length();
  }
  EXPECT_EQ(starts, kWorkers * kRounds);
  EXPECT_FALSE(log.is_open());
}

}  // namespace
}  // namespace zcd
