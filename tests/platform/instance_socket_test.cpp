#include "platform/linux/instance_socket.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <future>
#include <mutex>
#include <sstream>
#include <thread>

#include "base/command_ids.h"
#include "base/unique_fd.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;

struct Inbox {
  std::mutex lock;
  std::vector<Message> messages;
  void Add(const Message& message) {
    std::lock_guard guard(lock);
    messages.push_back(message);
  }
};

UniqueFd ConnectTo(const std::string& path) {
  UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, path.c_str());
  EXPECT_EQ(connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
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

TEST(InstanceSocketTest, ForwardsToTheRunningPlayer) {
  test::TempDir dir;
  const std::string path = dir.File("player.sock");
  EXPECT_EQ(ForwardMessages(path, {CommandMessage(kCmdPauseKey)}, nullptr),
            ForwardResult::kNoInstance);

  Inbox inbox;
  std::string error;
  auto server = InstanceServer::Listen(
      path, [&](const Message& m) { inbox.Add(m); }, &error);
  ASSERT_TRUE(server) << error;
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 077, 0u);

  const std::vector<Message> sent = {CommandMessage(kCmdPauseKey),
                                     {WindowId::kTracks, kMsgPlayTrack, 5, 0},
                                     {WindowId::kMain, kMsgSysCommand, kSysMinimize, 0}};
  EXPECT_EQ(ForwardMessages(path, sent, &error), ForwardResult::kDelivered) << error;
  // Delivery happens before the answer, so the messages are there now.
  std::lock_guard guard(inbox.lock);
  EXPECT_EQ(inbox.messages, sent);
}

TEST(InstanceSocketTest, StaleSocketMeansNoInstanceAndIsReplaced) {
  test::TempDir dir;
  const std::string path = dir.File("stale.sock");
  {
    Inbox inbox;
    auto server = InstanceServer::Listen(
        path, [&](const Message& m) { inbox.Add(m); }, nullptr);
    ASSERT_TRUE(server);
  }
  // Leave a socket file behind that nobody listens on.
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, path.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(fd);
  EXPECT_EQ(ForwardMessages(path, {CommandMessage(kCmdStopKey)}, nullptr),
            ForwardResult::kNoInstance);

  Inbox inbox;
  auto server = InstanceServer::Listen(
      path, [&](const Message& m) { inbox.Add(m); }, nullptr);
  ASSERT_TRUE(server);
  EXPECT_EQ(ForwardMessages(path, {CommandMessage(kCmdStopKey)}, nullptr),
            ForwardResult::kDelivered);
}

// A client that connects and says nothing holds the server inside its read;
// ending the server must not wait out the read's time-out.
TEST(InstanceSocketTest, ASilentClientDoesNotHoldUpTheEnd) {
  test::TempDir dir;
  const std::string path = dir.File("silent.sock");
  auto server = InstanceServer::Listen(
      path, [](const Message&) {}, nullptr);
  ASSERT_TRUE(server);
  const UniqueFd silent = ConnectTo(path);
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!AcceptedConnectionTo(path) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(AcceptedConnectionTo(path));

  auto ended = std::async(std::launch::async, [&] { server.reset(); });
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
  const auto fallback = InstanceSocketPath("/x", runtime.path(), nullptr);
  EXPECT_EQ(fallback.rfind("/tmp/zcd-" + std::to_string(getuid()) + "/", 0), 0u);
}

}  // namespace
}  // namespace zcd
