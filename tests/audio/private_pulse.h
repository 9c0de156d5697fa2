#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/basic_auth_proxy.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace zcd::test {

// A sound server of the test's own that plays in real time into a null sink
// named "zcdtest" (44.1 kHz), with its home and runtime folders in a
// temporary folder. While it lives, ALSA's pulse plugin in this process
// reaches it and no other server. Killed when the object goes away.
class PrivatePulse {
 public:
  PrivatePulse();
  ~PrivatePulse();
  PrivatePulse(const PrivatePulse&) = delete;
  PrivatePulse& operator=(const PrivatePulse&) = delete;

  // False when it did not start; reason() says why.
  bool Available() const { return reason_.empty(); }
  const std::string& reason() const { return reason_; }

  // Ends the server at once, as when a sound device disappears.
  void Kill();
  // Stops the server's clock (nothing plays, nothing is taken) and starts
  // it again.
  void Freeze();
  void Thaw();

  // The environment a client program needs to reach this server.
  std::vector<std::string> ClientEnvironment() const;
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  std::string home_;
  std::string runtime_;
  std::string socket_;
  std::optional<std::string> old_server_;
  std::unique_ptr<ChildProcess> server_;
  std::string reason_;
};

// What the private server's null sink played, captured raw (16-bit stereo,
// 44.1 kHz, little-endian) into a file until Stop.
class PulseCapture {
 public:
  PulseCapture(const PrivatePulse& pulse, std::string path);
  ~PulseCapture();
  PulseCapture(const PulseCapture&) = delete;
  PulseCapture& operator=(const PulseCapture&) = delete;

  // False when the recorder has written nothing within the time-out; the
  // null sink plays silence while idle, so a running recorder writes.
  bool WaitUntilRecording();
  // Ends the recording; the file is complete afterwards.
  void Stop();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::unique_ptr<ChildProcess> recorder_;
};

}  // namespace zcd::test

// Starts `pulse` in a test body (or SetUp): skips the test when the server
// cannot run here, unless real servers are required; then it fails.
#define ZCD_REQUIRE_PULSE(pulse)                                       \
  do {                                                                 \
    if (!(pulse).Available() && !::zcd::test::RealServersRequired())   \
      GTEST_SKIP() << "no private sound server: " << (pulse).reason(); \
    ASSERT_TRUE((pulse).Available()) << (pulse).reason();              \
  } while (false)
