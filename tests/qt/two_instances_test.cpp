#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;

// Real player processes on the offscreen platform, each test with its own
// home and runtime folder so nothing leaks between them or from the machine.
class TwoInstancesTest : public ::testing::Test {
 protected:
  TwoInstancesTest() {
    chmod(runtime_.path().c_str(), 0700);
    env_ = {"QT_QPA_PLATFORM=offscreen", "QT_SCALE_FACTOR=1", "HOME=" + home_.path(),
            "XDG_RUNTIME_DIR=" + runtime_.path(), "ZCD_HOME=" + home_.path()};
  }

  // A player process, its standard error in `log` in the home folder.
  std::unique_ptr<test::ChildProcess> Run(const std::string& log, std::vector<std::string> args) {
    args.insert(args.begin(), ZCD_BINARY);
    return std::make_unique<test::ChildProcess>(args, env_, home_.File(log));
  }
  // A player tracing what it does, waited for until its disc is loaded.
  std::unique_ptr<test::ChildProcess> RunLoaded(const std::string& log,
                                                std::vector<std::string> args = {}) {
    args.insert(args.begin(), "--verbose");
    args.insert(args.end(), {"--virtual-drive", demo_});
    auto player = Run(log, std::move(args));
    EXPECT_TRUE(test::WaitForText(home_.File(log), "disc loaded", 20s)) << home_.Read(log);
    return player;
  }
  // A second start hands "/stop" over and ends; the player's trace shows it.
  ::testing::AssertionResult ForwardsStop(const std::string& player_log) {
    if (Run("second.log", {"/stop"})->Wait(20s) != 0)
      return ::testing::AssertionFailure() << home_.Read("second.log");
    if (!test::WaitForText(home_.File(player_log), "main: command stop [273 40055 0]", 10s))
      return ::testing::AssertionFailure() << home_.Read(player_log);
    return ::testing::AssertionSuccess();
  }
  static std::optional<int> Terminate(test::ChildProcess& player) {
    player.Signal(SIGTERM);
    return player.Wait(20s);
  }

  test::TempDir home_;
  test::TempDir runtime_;
  std::vector<std::string> env_;
  const std::string demo_ = std::string(ZCD_SOURCE_DIR) + "/resources/demo/demo.cue";
};

TEST_F(TwoInstancesTest, SecondStartForwardsAndExitsWithoutAWindow) {
  const auto first = RunLoaded("first.log", {"/autoplay"});
  EXPECT_EQ(Run("pause.log", {"/PAUSE"})->Wait(20s), 0);
  EXPECT_TRUE(test::WaitForText(home_.File("first.log"), "main: command pause [273 40056 0]", 10s))
      << home_.Read("first.log");
  // "/autoplay" is a first-start option: forwarded, it is not sent at all.
  EXPECT_EQ(Run("third.log", {"/autoplay", "/stop"})->Wait(20s), 0);
  EXPECT_TRUE(test::WaitForText(home_.File("first.log"), "main: command stop [273 40055 0]", 10s));
  const std::string log = home_.Read("first.log");
  EXPECT_EQ(log.find("main: command play [273 40057 0]"),
            log.rfind("main: command play [273 40057 0]"));

  // An orderly end writes the settings, readable by this user alone.
  EXPECT_EQ(Terminate(*first), 0);
  struct stat info {};
  ASSERT_EQ(stat(home_.File("ZCD.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_NE(home_.Read("ZCD.ini").find("StartWinState=1"), std::string::npos);
}

TEST_F(TwoInstancesTest, StartsAfterAPlayerThatDiedLeavingItsSocket) {
  const auto crashed = RunLoaded("crashed.log");
  crashed->Signal(SIGKILL);
  crashed->Wait(10s);
  const auto next = RunLoaded("next.log");
  EXPECT_TRUE(ForwardsStop("next.log"));
}

TEST_F(TwoInstancesTest, AMalformedCueSheetIsReportedAndThePlayerGoesOn) {
  home_.Write("broken.cue", "TRACK 01 AUDIO\n  INDEX 01 00:99:00\n");
  // The good drive is still there and loads while the message is shown.
  const auto player = RunLoaded("player.log", {"--virtual-drive", home_.File("broken.cue")});
  EXPECT_TRUE(test::WaitForText(home_.File("player.log"), "broken.cue: line 2", 20s))
      << home_.Read("player.log");
  EXPECT_TRUE(ForwardsStop("player.log"));
  EXPECT_EQ(Terminate(*player), 0);
}

// Without XDG_RUNTIME_DIR both the socket and Qt's runtime files go to the
// player's private folder, and Qt has nothing to warn about.
TEST_F(TwoInstancesTest, WithoutARuntimeFolderThePlayerUsesItsOwnQuietly) {
  std::erase_if(env_,
                [](const std::string& entry) { return entry.starts_with("XDG_RUNTIME_DIR="); });
  const auto player = RunLoaded("player.log");
  EXPECT_TRUE(ForwardsStop("player.log"));
  EXPECT_EQ(Terminate(*player), 0);
  EXPECT_EQ(home_.Read("player.log").find("XDG_RUNTIME_DIR"), std::string::npos)
      << home_.Read("player.log");
}

TEST_F(TwoInstancesTest, BadCommandLineOptionsAreRefused) {
  EXPECT_EQ(Run("bad.log", {"--no-such-option"})->Wait(20s), 2);
  EXPECT_NE(home_.Read("bad.log").find("unknown option --no-such-option"), std::string::npos);
  EXPECT_EQ(Run("help.log", {"--help"})->Wait(20s), 0);
  EXPECT_NE(home_.Read("help.log").find("--virtual-drive FILE.cue"), std::string::npos);
}

}  // namespace
}  // namespace zcd
