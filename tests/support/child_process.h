#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zcd::test {

// A real program started for a test, its standard error kept in a file.
// Killed when the object goes away, if still running.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& args, const std::vector<std::string>& env,
               const std::string& stderr_path);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit status, or none when it did not end in time.
  std::optional<int> Wait(std::chrono::milliseconds timeout);
  void Signal(int signal) const;

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// Waits until the file holds the text; false when it did not come in time.
bool WaitForText(const std::string& path, const std::string& text,
                 std::chrono::milliseconds timeout);

}  // namespace zcd::test
