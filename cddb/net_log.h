#pragma once

#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace zcd {

// Codes of NetLog::Write.
inline constexpr int LogStart = 0;
inline constexpr int LogStop = 1;
inline constexpr int LogSent = 2;
inline constexpr int LogReceived = 3;
inline constexpr int LogInfo = 4;

// The network log shared by the CDDB workers: a file that each worker opens
// with LogStart and closes with LogStop, so it reads as stretches framed by
// a start and a stop line. Owned by whoever runs the workers. One lock
// guards the flag, the path and the file, so one worker's LogStop can never
// close the file under another's write.
class NetLog {
 public:
  // data_dir holds the default log file, "ZCDNetLog.txt".
  NetLog(bool enabled, std::string log_file, std::string data_dir);
  ~NetLog();
  NetLog(const NetLog&) = delete;
  NetLog& operator=(const NetLog&) = delete;

  // Any thread. LogStart opens (or keeps open) the file and writes a start
  // line; LogStop writes a stop line and closes; the others write the text
  // byte for byte, a missing one as "(null)\r\n". Nothing happens while
  // logging is off, nor, but for LogStart, while the file is closed.
  void Write(int code, std::optional<std::string_view> text = std::nullopt);

  // Any thread. The NetLogging and LogFile settings as they change.
  void SetEnabled(bool enabled);
  void SetLogFile(std::string path);
  // Any thread. The path to store as LogFile: the default once a start has
  // chosen it (while it fits the setting's length), else as set.
  std::string log_file() const;
  bool is_open() const;

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  void WriteLocked(std::string_view bytes);

  mutable std::mutex lock_;
  bool enabled_;
  std::string log_file_;
  std::string data_dir_;
  std::unique_ptr<std::FILE, FileCloser> file_;
};

}  // namespace zcd
