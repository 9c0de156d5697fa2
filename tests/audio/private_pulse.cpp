#include "audio/private_pulse.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/unique_fd.h"
#include "support/wait.h"

namespace zcd::test {
namespace {

using namespace std::chrono_literals;

constexpr char kServerVariable[] = "PULSE_SERVER";
constexpr char kPath[] = "PATH=/usr/local/bin:/usr/bin:/bin";

std::optional<std::string> FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(std::string(path ? path : "") + ":/usr/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = folder + "/" + name;
    if (!folder.empty() && access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return std::nullopt;
}

bool Accepts(const std::string& socket_path) {
  UniqueFd client(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (!client.valid() || socket_path.size() >= sizeof address.sun_path)
    return false;
  socket_path.copy(address.sun_path, socket_path.size());
  return connect(client.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace

PrivatePulse::PrivatePulse()
    : home_(dir_.File("home")),
      runtime_(dir_.File("runtime")),
      socket_(runtime_ + "/pulse/native") {
  const std::optional<std::string> program = FindProgram("pulseaudio");
  if (!program) {
    reason_ = "pulseaudio is not installed";
    return;
  }
  std::filesystem::create_directories(home_);
  std::filesystem::create_directories(runtime_);
  chmod(runtime_.c_str(), 0700);
  // Run in the foreground as our own child, so that Kill and the destructor
  // end exactly this server.
  const std::string log = dir_.File("pulseaudio.log");
  server_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{*program, "--daemonize=no", "--exit-idle-time=-1", "-n",
                               "--log-target=stderr",
                               "--load=module-null-sink sink_name=zcdtest rate=44100",
                               "--load=module-native-protocol-unix auth-anonymous=1"},
      std::vector<std::string>{"HOME=" + home_, "XDG_RUNTIME_DIR=" + runtime_, kPath}, log);
  const bool up =
      WaitUntil([&] { return Accepts(socket_) || server_->Wait(0ms).has_value(); }, 15s) &&
      Accepts(socket_);
  if (!up) {
    server_.reset();
    reason_ = "pulseaudio did not start: " + ReadAll(log);
    return;
  }
  if (const char* old = std::getenv(kServerVariable))
    old_server_ = old;
  setenv(kServerVariable, ("unix:" + socket_).c_str(), 1);
}

PrivatePulse::~PrivatePulse() {
  if (!Available())
    return;
  if (old_server_)
    setenv(kServerVariable, old_server_->c_str(), 1);
  else
    unsetenv(kServerVariable);
}

void PrivatePulse::Kill() {
  if (!server_)
    return;
  server_->Signal(SIGKILL);
  server_->Wait(10s);
}

void PrivatePulse::Freeze() {
  if (server_)
    server_->Signal(SIGSTOP);
}

void PrivatePulse::Thaw() {
  if (server_)
    server_->Signal(SIGCONT);
}

std::vector<std::string> PrivatePulse::ClientEnvironment() const {
  return {"PULSE_SERVER=unix:" + socket_, "HOME=" + home_, "XDG_RUNTIME_DIR=" + runtime_, kPath};
}

PulseCapture::PulseCapture(const PrivatePulse& pulse, std::string path) : path_(std::move(path)) {
  const std::optional<std::string> program = FindProgram("parec");
  if (!program)
    return;
  recorder_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{*program, "--device=zcdtest.monitor", "--raw", "--format=s16le",
                               "--rate=44100", "--channels=2", "--latency-msec=20", path_},
      pulse.ClientEnvironment(), path_ + ".log");
}

PulseCapture::~PulseCapture() {
  Stop();
}

bool PulseCapture::WaitUntilRecording() {
  return recorder_ && WaitUntil([&] {
           std::error_code error;
           const auto size = std::filesystem::file_size(path_, error);
           return !error && size > 0;
         });
}

void PulseCapture::Stop() {
  if (!recorder_)
    return;
  // An interrupted recorder writes out what it holds before it ends.
  recorder_->Signal(SIGINT);
  if (!recorder_->Wait(5s))
    recorder_->Signal(SIGKILL);
  recorder_.reset();
}

}  // namespace zcd::test
