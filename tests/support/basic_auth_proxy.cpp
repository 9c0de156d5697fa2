#include "support/basic_auth_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/unique_fd.h"

namespace zcd::test {
namespace {

using namespace std::chrono_literals;

constexpr char kProgram[] = "tinyproxy";
constexpr char kConfigFile[] = "proxy.conf";
constexpr char kLogFile[] = "proxy.log";
constexpr char kOutputFile[] = "proxy.out";
constexpr int kStartAttempts = 5;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  return address;
}

// A port the system just handed out, so nobody else is likely to be on it.
int FreePort() {
  UniqueFd probe(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  auto* raw = reinterpret_cast<sockaddr*>(&address);
  if (!probe.valid() || bind(probe.get(), raw, size) != 0 ||
      getsockname(probe.get(), raw, &size) != 0)
    return 0;
  return ntohs(address.sin_port);
}

bool Accepts(int port) {
  UniqueFd client(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const sockaddr_in address = Loopback(port);
  return client.valid() &&
         connect(client.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace

bool RealServersRequired() {
  const char* value = std::getenv("ZCD_REQUIRE_REAL_SERVERS");
  return value && std::string(value) == "1";
}

std::optional<std::string> BasicAuthProxy::Program() {
  const char* path = std::getenv("PATH");
  std::istringstream folders(std::string(path ? path : "") + ":/usr/bin:/usr/sbin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = folder + "/" + kProgram;
    if (!folder.empty() && access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return std::nullopt;
}

BasicAuthProxy::BasicAuthProxy(std::string user, std::string password)
    : user_(std::move(user)), password_(std::move(password)) {
  const std::optional<std::string> program = Program();
  if (!program) {
    error_ = std::string(kProgram) + " is not installed (Debian package tinyproxy-bin)";
    return;
  }
  installed_ = true;
  // Another process may take the free port before the proxy binds it: try
  // a few.
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    if (Start(*program, FreePort())) {
      error_.clear();
      return;
    }
  }
}

BasicAuthProxy::~BasicAuthProxy() = default;

bool BasicAuthProxy::Start(const std::string& program, int port) {
  // No Timeout below the tests' deadlines; no User, so it stays whoever ran
  // it; no PidFile or daemon, so the child is the proxy itself.
  dir_.Write(kConfigFile,
             "Listen 127.0.0.1\n"
             "Port " +
                 std::to_string(port) +
                 "\n"
                 "Timeout 60\n"
                 "MaxClients 20\n"
                 "LogFile \"" +
                 dir_.File(kLogFile) +
                 "\"\n"
                 "LogLevel Connect\n"
                 "Allow 127.0.0.1\n"
                 "BasicAuth " +
                 user_ + " " + password_ + "\n");
  process_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{program, "-d", "-c", dir_.File(kConfigFile)},
      std::vector<std::string>{}, dir_.File(kOutputFile));
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (std::chrono::steady_clock::now() < deadline) {
    if (process_->Wait(0ms)) {
      error_ = std::string(kProgram) + " ended at start: " + ReadAll(dir_.File(kOutputFile));
      process_.reset();
      return false;
    }
    if (Accepts(port)) {
      port_ = port;
      return true;
    }
    std::this_thread::sleep_for(10ms);
  }
  error_ = std::string(kProgram) + " did not accept on port " + std::to_string(port) +
           " in time: " + ReadAll(dir_.File(kOutputFile));
  process_.reset();
  return false;
}

std::string BasicAuthProxy::Log() const {
  return ReadAll(dir_.File(kLogFile));
}

}  // namespace zcd::test
