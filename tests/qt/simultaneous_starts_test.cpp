#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// Real player processes started all at once for one home: exactly one
// becomes the player and every other start hands it its command and ends.
TEST(SimultaneousStartsTest, ExactlyOnePlayerTakesEveryStartsCommand) {
  constexpr int kStarts = 12;
  test::TempDir home;
  test::TempDir runtime;
  chmod(runtime.path().c_str(), 0700);
  const std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "QT_SCALE_FACTOR=1",
                                        "HOME=" + home.path(), "XDG_RUNTIME_DIR=" + runtime.path(),
                                        "ZCD_HOME=" + home.path()};
  const std::string demo = std::string(ZCD_SOURCE_DIR) + "/resources/demo/demo.cue";
  auto log = [&](int i) { return "start" + std::to_string(i) + ".log"; };
  // Start i asks for track i, so the player's trace shows whose command came.
  std::vector<std::unique_ptr<test::ChildProcess>> starts;
  for (int i = 1; i <= kStarts; ++i) {
    const std::string track = "track" + std::to_string(i) + ".cda";
    starts.push_back(std::make_unique<test::ChildProcess>(
        std::vector<std::string>{ZCD_BINARY, "--verbose", "--virtual-drive", demo, "/play", track},
        env, home.File(log(i))));
  }

  // Every start but one ends, having delivered.
  std::vector<std::optional<int>> status(kStarts + 1);
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  int ended = 0;
  while (ended < kStarts - 1 && std::chrono::steady_clock::now() < deadline) {
    ended = 0;
    for (int i = 1; i <= kStarts; ++i) {
      if (!status[i])
        status[i] = starts[i - 1]->Wait(0ms);
      ended += status[i] ? 1 : 0;
    }
    std::this_thread::sleep_for(20ms);
  }
  int player = 0;
  for (int i = 1; i <= kStarts; ++i) {
    if (!status[i]) {
      EXPECT_EQ(player, 0) << "starts " << player << " and " << i << " both run";
      player = i;
    } else {
      EXPECT_EQ(*status[i], 0) << "start " << i << ": " << home.Read(log(i));
    }
  }
  ASSERT_NE(player, 0) << "no start became the player";

  // The player took each start's command exactly once: its own and the
  // forwarded ones.
  for (int i = 1; i <= kStarts; ++i) {
    const std::string command = "tracks: play track " + std::to_string(i) + " [";
    ASSERT_TRUE(test::WaitForText(home.File(log(player)), command, 20s)) << command << "\n"
                                                                         << home.Read(log(player));
  }
  const std::string trace = home.Read(log(player));
  for (int i = 1; i <= kStarts; ++i)
    EXPECT_EQ(Count(trace, "tracks: play track " + std::to_string(i) + " ["), 1u) << i;

  starts[player - 1]->Signal(SIGTERM);
  EXPECT_EQ(starts[player - 1]->Wait(20s), 0);
}

}  // namespace
}  // namespace zcd
