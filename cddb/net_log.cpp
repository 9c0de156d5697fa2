#include "cddb/net_log.h"

#include <ctime>

#include "base/settings.h"

namespace zcd {
namespace {

// The C library's ctime form: 24 characters and a line feed.
std::string LocalTimeLine() {
  const std::time_t now = std::time(nullptr);
  char buffer[32] = {};
  if (ctime_r(&now, buffer) == nullptr)
    return "\n";
  return buffer;
}

}  // namespace

NetLog::NetLog(bool enabled, std::string log_file, std::string data_dir)
    : enabled_(enabled), log_file_(std::move(log_file)), data_dir_(std::move(data_dir)) {}

NetLog::~NetLog() = default;

void NetLog::SetEnabled(bool enabled) {
  std::lock_guard guard(lock_);
  enabled_ = enabled;
}

void NetLog::SetLogFile(std::string path) {
  std::lock_guard guard(lock_);
  log_file_ = std::move(path);
}

std::string NetLog::log_file() const {
  std::lock_guard guard(lock_);
  return log_file_;
}

bool NetLog::is_open() const {
  std::lock_guard guard(lock_);
  return file_ != nullptr;
}

void NetLog::WriteLocked(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), file_.get());
  // Flushed at once, so the log is complete up to the last line even when
  // the program ends without a stop.
  std::fflush(file_.get());
}

void NetLog::Write(int code, std::optional<std::string_view> text) {
  std::lock_guard guard(lock_);
  if (!enabled_)
    return;
  if (code == LogStart) {
    std::string path = log_file_;
    if (path.empty()) {
      path = data_dir_ + "/ZCDNetLog.txt";
      // A path longer than the setting holds would come back cut; it is
      // rebuilt at every start instead.
      if (path.size() <= kMaxSettingText)
        log_file_ = path;
    }
    if (!file_)
      file_.reset(std::fopen(path.c_str(), "ab"));
    if (file_)
      WriteLocked("***Logging Started:\t" + LocalTimeLine());
    return;
  }
  if (!file_)
    return;
  switch (code) {
    case LogStop:
      WriteLocked("***Stopped Logging:\t" + LocalTimeLine() + "\r\n\r\n");
      file_.reset();
      break;
    case LogSent:
    case LogReceived:
    case LogInfo:
      WriteLocked(text ? *text : "(null)\r\n");
      break;
    default:
      WriteLocked("!!!unknown log message\r\n");
      break;
  }
}

}  // namespace zcd
