#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "base/unique_fd.h"
#include "platform/qt/qt_window_host.h"
#include "qt/process_until.h"

namespace zcd {
namespace {

using test::ProcessUntil;

TEST(ReadableWatchTest, TheEventLoopRunsTheWatchUntilItIsRemoved) {
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0);
  const UniqueFd read_end(fds[0]);
  const UniqueFd write_end(fds[1]);
  QtWindowHost host;
  int bytes = 0;
  host.WatchReadable(read_end.get(), [&] {
    char byte;
    while (read(read_end.get(), &byte, 1) == 1)
      ++bytes;
  });

  ASSERT_EQ(write(write_end.get(), "ab", 2), 2);
  EXPECT_TRUE(ProcessUntil([&] { return bytes == 2; }));

  host.UnwatchReadable(read_end.get());
  ASSERT_EQ(write(write_end.get(), "c", 1), 1);
  // Nothing reads the byte now; give the loop its chance to.
  ProcessUntil([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(bytes, 2);
}

}  // namespace
}  // namespace zcd
