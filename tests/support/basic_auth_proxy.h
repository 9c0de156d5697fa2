#pragma once

#include <memory>
#include <optional>
#include <string>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace zcd::test {

// A real HTTP proxy (tinyproxy) for one test: it listens on 127.0.0.1 at a
// free port, wants Basic credentials (answering 407 without them and 401 for
// wrong ones), admits only 127.0.0.1 and may forward to any port there. Its
// configuration and log live in a folder of its own; it is killed when the
// object goes away.
class BasicAuthProxy {
 public:
  // user and password: single words, as the configuration takes them.
  BasicAuthProxy(std::string user, std::string password);
  ~BasicAuthProxy();
  BasicAuthProxy(const BasicAuthProxy&) = delete;
  BasicAuthProxy& operator=(const BasicAuthProxy&) = delete;

  // Where the program is installed, none when it is not.
  static std::optional<std::string> Program();

  // True once it accepts connections.
  bool running() const { return error_.empty(); }
  // Why it is not running: "" when it is.
  const std::string& error() const { return error_; }
  bool installed() const { return installed_; }
  int port() const { return port_; }
  const std::string& user() const { return user_; }
  const std::string& password() const { return password_; }
  // Its log so far; it names the request line of every request it took.
  std::string Log() const;

 private:
  bool Start(const std::string& program, int port);

  std::string user_;
  std::string password_;
  TempDir dir_;
  std::unique_ptr<ChildProcess> process_;
  bool installed_ = false;
  int port_ = 0;
  std::string error_;
};

// Whether a test must fail, rather than skip, when a real server it needs
// is missing: set ZCD_REQUIRE_REAL_SERVERS=1 (the CI script does).
bool RealServersRequired();

}  // namespace zcd::test

// Starts `proxy` in a test body (or SetUp): skips the test when the program
// is missing, unless real servers are required; fails when it would not run.
#define ZCD_REQUIRE_PROXY(proxy)                                     \
  do {                                                               \
    if (!(proxy).installed() && !::zcd::test::RealServersRequired()) \
      GTEST_SKIP() << (proxy).error();                               \
    ASSERT_TRUE((proxy).running()) << (proxy).error();               \
  } while (false)
