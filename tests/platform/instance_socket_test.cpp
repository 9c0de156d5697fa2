#include "platform/linux/instance_socket.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <future>
#include <latch>
#include <mutex>
#include <sstream>
#include <thread>

#include "base/command_ids.h"
#include "base/unique_fd.h"
#include "support/temp_dir.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using Outcome = InstanceClaim::Outcome;

struct Inbox {
  std::mutex lock;
  std::vector<Message> messages;
  void Add(const Message& message) {
    std::lock_guard guard(lock);
    messages.push_back(message);
  }
  std::vector<Message> Taken() {
    std::lock_guard guard(lock);
    return messages;
  }
};

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 0777;
}

// A socket bound to path, which once closed is the file a killed player
// leaves, or connected to it.
UniqueFd SocketAt(const std::string& path, bool bound) {
  UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, path.c_str());
  const auto* at = reinterpret_cast<const sockaddr*>(&address);
  EXPECT_EQ(bound ? bind(fd.get(), at, sizeof address) : connect(fd.get(), at, sizeof address), 0);
  return fd;
}

// The kernel lists a connection to path as connected (state 03) once the
// listener accepted it; before, it is still connecting (02).
bool AcceptedConnectionTo(const std::string& path) {
  std::ifstream table("/proc/net/unix");
  std::string line;
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string num, refs, protocol, flags, type, state, inode, name;
    if (fields >> num >> refs >> protocol >> flags >> type >> state >> inode >> name &&
        name == path && state == "03") {
      return true;
    }
  }
  return false;
}

TEST(InstanceSocketTest, ForwardsToTheRunningPlayerAndHoldsUntilDelivering) {
  test::TempDir dir;
  const std::string path = dir.File("player.sock");
  Inbox inbox;
  InstanceClaim first = ClaimInstance(path, {CommandMessage(kCmdStopKey)});
  ASSERT_EQ(first.outcome, Outcome::kPlayer) << first.error;
  ASSERT_TRUE(first.server) << first.error;
  EXPECT_EQ(ModeOf(path) & 077, 0u);
  EXPECT_EQ(ModeOf(path + ".lock"), 0600u);

  // Taken before the player can deliver: held, in order.
  const std::vector<Message> early = {CommandMessage(kCmdPauseKey),
                                      {WindowId::kTracks, kMsgPlayTrack, 5, 0},
                                      {WindowId::kMain, kMsgSysCommand, kSysMinimize, 0}};
  InstanceClaim second = ClaimInstance(path, early);
  EXPECT_EQ(second.outcome, Outcome::kForwarded) << second.error;
  EXPECT_FALSE(second.server);
  first.server->DeliverTo([&](const Message& m) { inbox.Add(m); });
  EXPECT_EQ(inbox.Taken(), early);

  // Delivery happens before the answer, so a later message is there now.
  EXPECT_EQ(ClaimInstance(path, {CommandMessage(kCmdEjectKey)}).outcome, Outcome::kForwarded);
  std::vector<Message> all = early;
  all.push_back(CommandMessage(kCmdEjectKey));
  EXPECT_EQ(inbox.Taken(), all);
  // A player that ends takes its socket with it: the next start is the player.
  first.server.reset();
  EXPECT_EQ(ClaimInstance(path, {}).outcome, Outcome::kPlayer);
}

// Starts racing for the same socket, from a clean folder and from one where
// a killed player left its socket (which must be replaced): one player,
// everybody else delivered. A race is lost only now and then, so it is run a
// few rounds.
TEST(InstanceSocketTest, OfSimultaneousStartsExactlyOneBecomesThePlayer) {
  constexpr int kStarts = 16;
  constexpr int kRounds = 8;
  for (int round = 0; round < kRounds * 2; ++round) {
    const bool stale = round % 2 == 1;
    SCOPED_TRACE(std::string(stale ? "stale socket" : "no socket") + ", round " +
                 std::to_string(round / 2));
    test::TempDir dir;
    const std::string path = dir.File("race.sock");
    if (stale)
      SocketAt(path, true);
    Inbox inbox;
    std::vector<InstanceClaim> claims(kStarts);
    std::latch ready(kStarts);
    std::vector<std::thread> starts;
    for (int i = 0; i < kStarts; ++i) {
      starts.emplace_back([&, i] {
        ready.arrive_and_wait();
        claims[i] = ClaimInstance(path, {{WindowId::kTracks, kMsgPlayTrack, i, 0}});
      });
    }
    for (auto& start : starts)
      start.join();

    std::vector<Message> expected;
    InstanceServer* server = nullptr;
    for (int i = 0; i < kStarts; ++i) {
      if (claims[i].outcome == Outcome::kPlayer) {
        EXPECT_EQ(server, nullptr) << "start " << i << " is a second player";
        server = claims[i].server.get();
        EXPECT_TRUE(server) << claims[i].error;
      } else {
        EXPECT_EQ(claims[i].outcome, Outcome::kForwarded) << i << ": " << claims[i].error;
        expected.push_back({WindowId::kTracks, kMsgPlayTrack, i, 0});
      }
    }
    ASSERT_TRUE(server);
    server->DeliverTo([&](const Message& m) { inbox.Add(m); });
    std::vector<Message> taken = inbox.Taken();
    std::sort(taken.begin(), taken.end(),
              [](const Message& a, const Message& b) { return a.wparam < b.wparam; });
    EXPECT_EQ(taken, expected);
  }
}

// A client that connects and says nothing holds the server inside its read;
// ending the server must not wait out the read's time-out.
TEST(InstanceSocketTest, ASilentClientDoesNotHoldUpTheEnd) {
  test::TempDir dir;
  const std::string path = dir.File("silent.sock");
  InstanceClaim player = ClaimInstance(path, {});
  ASSERT_TRUE(player.server) << player.error;
  const UniqueFd silent = SocketAt(path, false);
  ASSERT_TRUE(test::WaitUntil([&] { return AcceptedConnectionTo(path); }, 10s));

  auto ended = std::async(std::launch::async, [&] { player.server.reset(); });
  // The read gives up after 5 s; an end that waits for it is a hang.
  EXPECT_EQ(ended.wait_for(2s), std::future_status::ready);
}

TEST(InstanceSocketTest, DecodingDropsWhatThePlayerWouldNotAccept) {
  const std::string text =
      "ZCD1\n"
      "M 0 273 40056 0\n"    // a command: kept
      "M 0 1024 3 1\n"       // an internal message: dropped
      "M 9 273 40056 0\n"    // no such window: dropped
      "M 0 274 61440 0\n"    // an unknown system command: dropped
      "M 2 1107 3 0 junk\n"  // trailing junk: dropped
      "garbage\n"
      "M 2 1107 3 0\n"  // play track 3: kept
      "END\n"
      "M 0 273 40055 0\n";  // after the end: ignored
  const std::vector<Message> expected = {CommandMessage(kCmdPauseKey),
                                         {WindowId::kTracks, kMsgPlayTrack, 3, 0}};
  EXPECT_EQ(DecodeMessages(text), expected);
  EXPECT_TRUE(DecodeMessages("M 0 273 40056 0\nEND\n").empty());
  EXPECT_EQ(DecodeMessages(EncodeMessages(expected)), expected);
}

TEST(InstanceSocketTest, SocketPathIsPrivateAndPerDataFolder) {
  test::TempDir runtime;
  chmod(runtime.path().c_str(), 0700);
  const auto a = InstanceSocketPath("/home/u/.local/share/zcd", runtime.path(), nullptr);
  const auto b = InstanceSocketPath("/tmp/other-home", runtime.path(), nullptr);
  EXPECT_EQ(a.rfind(runtime.path() + "/zcd-", 0), 0u);
  EXPECT_NE(a, b);
  // A runtime folder others may enter is not used.
  chmod(runtime.path().c_str(), 0755);
  const std::string own = "/tmp/zcd-" + std::to_string(getuid());
  const auto fallback = InstanceSocketPath("/x", runtime.path(), nullptr);
  EXPECT_EQ(fallback.rfind(own + "/", 0), 0u);
  EXPECT_EQ(PrivateRuntimeFolder(std::nullopt, nullptr), own);
  EXPECT_EQ(ModeOf(own) & 077, 0u);
}

}  // namespace
}  // namespace zcd
