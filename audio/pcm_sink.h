#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zcd {

// A sound device playing 44.1 kHz 16-bit stereo. Used by one thread at a
// time; no call blocks except WaitForRoom, which returns when wake_fd turns
// readable. Errors are negative errno values; an underrun is recovered inside
// and is no error.
class PcmSink {
 public:
  virtual ~PcmSink() = default;
  // Waits at most timeout_ms until the device takes more frames or wake_fd
  // (-1: none) is readable. Returns 0, or an error when the device failed.
  virtual int WaitForRoom(int wake_fd, int timeout_ms) = 0;
  // Queues up to `frames` stereo frames without blocking: the number taken
  // (0 when the buffer is full), or an error.
  virtual long Write(const int16_t* samples, long frames) = 0;
  // Frames queued and not heard yet: 0 once everything written was heard.
  // An error when the device failed.
  virtual long Delay() = 0;
  // Plays what is queued even when it is less than the device waits for
  // before it starts on its own (the end of a range).
  virtual int Start() = 0;
  // Throws away everything not heard yet, at once.
  virtual void Drop() = 0;
  // Words for an error of this device.
  virtual std::string ErrorText(long error) const = 0;
};

// A sink, or why the device did not open.
struct PcmOpen {
  std::unique_ptr<PcmSink> sink;
  std::string error;
};

using PcmSinkOpener = std::function<PcmOpen()>;

}  // namespace zcd
