#pragma once

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "support/child_process.h"
#include "support/temp_dir.h"
#include "support/wait.h"

namespace zcd::test {

// A real mail server on 127.0.0.1 (Debian's python3-aiosmtpd running
// smtp_sink.py) that keeps every message it accepts. Killed when the object
// goes away.
class RealSmtpServer {
 public:
  // Debian's own interpreter: the one that has the package.
  static constexpr char kPython[] = "/usr/bin/python3";

  // Whether the server can run here; why not in `reason`.
  static bool Available(std::string* reason) {
    if (access(kPython, X_OK) != 0) {
      *reason = std::string(kPython) + " is missing";
      return false;
    }
    TempDir dir;
    ChildProcess probe({kPython, "-c", "import aiosmtpd"}, {}, dir.File("err"));
    if (probe.Wait(std::chrono::seconds(20)) != 0) {
      *reason = "python3-aiosmtpd is missing: " + dir.Read("err");
      return false;
    }
    return true;
  }

  RealSmtpServer() {
    child_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{kPython, ZCD_SOURCE_DIR "/tests/cddb/smtp_sink.py",
                                 dir_.File("port"), dir_.path()},
        std::vector<std::string>{"PATH=/usr/bin:/bin", "PYTHONDONTWRITEBYTECODE=1"},
        dir_.File("server.log"));
    if (WaitUntil([this] { return std::filesystem::exists(dir_.File("port")); },
                  std::chrono::seconds(20))) {
      port_ = std::atoi(dir_.Read("port").c_str());
    }
  }

  // 0 when the server did not come up in time.
  int port() const { return port_; }
  std::string server_log() const { return dir_.Read("server.log"); }

  // The n-th message (from 1) as the sink keeps it; none when it does not
  // come in time.
  std::optional<std::string> Message(int n) const {
    const std::string path = dir_.File("message-" + std::to_string(n));
    if (!WaitUntil([&] { return std::filesystem::exists(path); }, std::chrono::seconds(10)))
      return std::nullopt;
    return dir_.Read("message-" + std::to_string(n));
  }

 private:
  TempDir dir_;
  std::unique_ptr<ChildProcess> child_;
  int port_ = 0;
};

}  // namespace zcd::test
