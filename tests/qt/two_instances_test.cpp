#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

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

  std::vector<std::string> Player(std::vector<std::string> args) const {
    args.insert(args.begin(), ZCD_BINARY);
    return args;
  }

  std::string Log(const std::string& name) const { return home_.File(name); }

  test::TempDir home_;
  test::TempDir runtime_;
  std::vector<std::string> env_;
  const std::string demo_ = std::string(ZCD_SOURCE_DIR) + "/resources/demo/demo.cue";
};

TEST_F(TwoInstancesTest, SecondStartForwardsAndExitsWithoutAWindow) {
  test::ChildProcess first(Player({"--verbose", "--virtual-drive", demo_, "/autoplay"}), env_,
                           Log("first.log"));
  ASSERT_TRUE(test::WaitForText(Log("first.log"), "disc loaded", 20s)) << home_.Read("first.log");

  test::ChildProcess second(Player({"/PAUSE"}), env_, Log("second.log"));
  EXPECT_EQ(second.Wait(20s), 0);
  // The pause key command reached the running player.
  EXPECT_TRUE(test::WaitForText(Log("first.log"), "main: command pause [273 40056 0]", 10s))
      << home_.Read("first.log");
  // "/autoplay" is a first-start option: forwarded, it is not sent at all.
  test::ChildProcess third(Player({"/autoplay", "/stop"}), env_, Log("third.log"));
  EXPECT_EQ(third.Wait(20s), 0);
  EXPECT_TRUE(test::WaitForText(Log("first.log"), "main: command stop [273 40055 0]", 10s));
  const std::string log = home_.Read("first.log");
  // Exactly one play command: the first start's own "/autoplay".
  EXPECT_EQ(log.find("main: command play [273 40057 0]"),
            log.rfind("main: command play [273 40057 0]"));

  // An orderly end writes the settings, readable by this user alone.
  first.Signal(SIGTERM);
  EXPECT_EQ(first.Wait(20s), 0);
  struct stat info {};
  ASSERT_EQ(stat(home_.File("ZCD.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_NE(home_.Read("ZCD.ini").find("StartWinState=1"), std::string::npos);
}

TEST_F(TwoInstancesTest, StartsAfterAPlayerThatDiedLeavingItsSocket) {
  {
    test::ChildProcess crashed(Player({"--verbose", "--virtual-drive", demo_}), env_,
                               Log("crashed.log"));
    ASSERT_TRUE(test::WaitForText(Log("crashed.log"), "disc loaded", 20s));
    crashed.Signal(SIGKILL);
    crashed.Wait(10s);
  }
  test::ChildProcess next(Player({"--verbose", "--virtual-drive", demo_}), env_, Log("next.log"));
  ASSERT_TRUE(test::WaitForText(Log("next.log"), "disc loaded", 20s)) << home_.Read("next.log");
  test::ChildProcess second(Player({"/stop"}), env_, Log("second.log"));
  EXPECT_EQ(second.Wait(20s), 0);
  EXPECT_TRUE(test::WaitForText(Log("next.log"), "main: command stop [273 40055 0]", 10s));
}

TEST_F(TwoInstancesTest, AMalformedCueSheetIsReportedAndThePlayerGoesOn) {
  home_.Write("broken.cue", "TRACK 01 AUDIO\n  INDEX 01 00:99:00\n");
  test::ChildProcess player(
      Player({"--verbose", "--virtual-drive", home_.File("broken.cue"), "--virtual-drive", demo_}),
      env_, Log("player.log"));
  ASSERT_TRUE(test::WaitForText(Log("player.log"), "broken.cue: line 2", 20s))
      << home_.Read("player.log");
  // The good drive is still there and loads while the message is shown.
  EXPECT_TRUE(test::WaitForText(Log("player.log"), "disc loaded", 20s));
  test::ChildProcess second(Player({"/stop"}), env_, Log("second.log"));
  EXPECT_EQ(second.Wait(20s), 0);
  EXPECT_TRUE(test::WaitForText(Log("player.log"), "main: command stop [273 40055 0]", 10s));
  player.Signal(SIGTERM);
  EXPECT_EQ(player.Wait(20s), 0);
}

// Without XDG_RUNTIME_DIR both the socket and Qt's runtime files go to the
// player's private folder, and Qt has nothing to warn about.
TEST_F(TwoInstancesTest, WithoutARuntimeFolderThePlayerUsesItsOwnQuietly) {
  std::erase_if(env_,
                [](const std::string& entry) { return entry.starts_with("XDG_RUNTIME_DIR="); });
  test::ChildProcess player(Player({"--verbose", "--virtual-drive", demo_}), env_,
                            Log("player.log"));
  ASSERT_TRUE(test::WaitForText(Log("player.log"), "disc loaded", 20s)) << home_.Read("player.log");
  test::ChildProcess second(Player({"/stop"}), env_, Log("second.log"));
  EXPECT_EQ(second.Wait(20s), 0) << home_.Read("second.log");
  EXPECT_TRUE(test::WaitForText(Log("player.log"), "main: command stop [273 40055 0]", 10s));
  player.Signal(SIGTERM);
  EXPECT_EQ(player.Wait(20s), 0);
  EXPECT_EQ(home_.Read("player.log").find("XDG_RUNTIME_DIR"), std::string::npos)
      << home_.Read("player.log");
}

TEST_F(TwoInstancesTest, BadCommandLineOptionsAreRefused) {
  test::ChildProcess bad(Player({"--no-such-option"}), env_, Log("bad.log"));
  EXPECT_EQ(bad.Wait(20s), 2);
  EXPECT_NE(home_.Read("bad.log").find("unknown option --no-such-option"), std::string::npos);
  test::ChildProcess help(Player({"--help"}), env_, Log("help.log"));
  EXPECT_EQ(help.Wait(20s), 0);
  EXPECT_NE(home_.Read("help.log").find("--virtual-drive FILE.cue"), std::string::npos);
}

}  // namespace
}  // namespace zcd
