#include "audio/alsa_pcm_sink.h"

#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "audio/alsa_file_config.h"
#include "audio/private_pulse.h"
#include "base/unique_fd.h"
#include "support/temp_dir.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::FileSlave;

constexpr char kDevice[] = "zcdtest";
constexpr long kFramesPerSecond = 44100;
constexpr long kQuarterSecond = kFramesPerSecond / 4;

// Stereo frames in which no sample repeats within 32768 frames, so a lost,
// repeated or reordered piece shows.
std::vector<int16_t> Pattern(long frames) {
  std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(static_cast<uint16_t>(i * 7919 + 11));
  return samples;
}

// Writes every frame, waiting for room; the first error, or 0.
long WriteAll(PcmSink& sink, const std::vector<int16_t>& samples, long piece) {
  const long frames = static_cast<long>(samples.size() / 2);
  const auto deadline = Clock::now() + 20s;
  for (long done = 0; done < frames;) {
    if (Clock::now() > deadline)
      return -ETIMEDOUT;
    const long written = sink.Write(samples.data() + 2 * done, std::min(piece, frames - done));
    if (written < 0)
      return written;
    done += written;
    if (written == 0) {
      const int err = sink.WaitForRoom(-1, 1000);
      if (err < 0)
        return err;
    }
  }
  return 0;
}

// Fills the buffer until it takes nothing more.
long Fill(PcmSink& sink) {
  const std::vector<int16_t> samples = Pattern(kQuarterSecond);
  long total = 0;
  for (long written = 1; written > 0; total += written) {
    written = sink.Write(samples.data(), kQuarterSecond);
    if (written < 0)
      return written;
  }
  return total;
}

bool WaitForSilence(PcmSink& sink) {
  return test::WaitUntil([&] { return sink.Delay() <= 0; }, 10s) && sink.Delay() == 0;
}

TEST(AlsaPcmSink, RecordsEveryFrameInOrderAndHasNothingLeftOnAnInstantDevice) {
  test::TempDir dir;
  test::WriteAlsaFileConfig(dir.File("asound.conf"), kDevice, dir.File("out.raw"),
                            FileSlave::kNull);
  PcmOpen open = OpenAlsaPcm(kDevice, dir.File("asound.conf"));
  ASSERT_TRUE(open.sink) << open.error;
  // Uneven pieces, some shorter than a period, one longer than the buffer.
  const std::vector<int16_t> samples = Pattern(30000);
  const long pieces[] = {1, 587, 2205, 17000};
  long done = 0;
  for (long piece : pieces) {
    std::vector<int16_t> part(samples.begin() + 2 * done, samples.begin() + 2 * (done + piece));
    ASSERT_EQ(WriteAll(*open.sink, part, piece), 0);
    done += piece;
  }
  std::vector<int16_t> rest(samples.begin() + 2 * done, samples.end());
  ASSERT_EQ(WriteAll(*open.sink, rest, 999), 0);
  ASSERT_EQ(open.sink->Start(), 0);
  EXPECT_EQ(open.sink->Delay(), 0);
  open.sink.reset();
  EXPECT_EQ(test::ReadRawSamples(dir.File("out.raw")), samples);
}

TEST(AlsaPcmSink, DeviceThatCannotOpenSaysWhichAndWhy) {
  test::TempDir dir;
  test::WriteAlsaFileConfig(dir.File("asound.conf"), kDevice, dir.File("out.raw"),
                            FileSlave::kNull);
  struct Case {
    const char* name;
    std::string device;
    std::string config;
    std::string error;
  } cases[] = {
      {"a name the configuration lacks", "zcd_missing", dir.File("asound.conf"),
       "cannot open the sound device \"zcd_missing\": No such file or directory"},
      {"a name the system lacks", "zcd_missing", "",
       "cannot open the sound device \"zcd_missing\": No such file or directory"},
      {"a configuration that is not there", kDevice, dir.File("none.conf"),
       "cannot read the sound configuration \"" + dir.File("none.conf") +
           "\": No such file or directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PcmOpen open = OpenAlsaPcm(c.device, c.config);
    EXPECT_FALSE(open.sink);
    EXPECT_EQ(open.error, c.error);
  }
}

class AlsaPulseSinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ZCD_REQUIRE_PULSE(pulse_);
    test::WriteAlsaFileConfig(dir_.File("asound.conf"), kDevice, dir_.File("out.raw"),
                              FileSlave::kPulse);
    PcmOpen open = OpenAlsaPcm(kDevice, dir_.File("asound.conf"));
    ASSERT_TRUE(open.sink) << open.error;
    sink_ = std::move(open.sink);
  }

  test::TempDir dir_;
  test::PrivatePulse pulse_;
  std::unique_ptr<PcmSink> sink_;
};

TEST_F(AlsaPulseSinkTest, PlaysInRealTimeExactlyWhatWasWritten) {
  test::PulseCapture capture(pulse_, dir_.File("heard.raw"));
  ASSERT_TRUE(capture.WaitUntilRecording());
  // A quarter second fits the buffer, so it is taken at once and plays
  // without a gap however busy the machine is. It starts with silence: the
  // server replays the first moments of a new stream over what the recorder
  // already took.
  const long lead_in = kFramesPerSecond / 10;
  const std::vector<int16_t> pattern = Pattern(kQuarterSecond - lead_in);
  std::vector<int16_t> samples(static_cast<size_t>(lead_in) * 2);
  samples.insert(samples.end(), pattern.begin(), pattern.end());
  const auto start = Clock::now();
  ASSERT_EQ(sink_->Write(samples.data(), kQuarterSecond), kQuarterSecond);
  EXPECT_GT(sink_->Delay(), 0);
  ASSERT_EQ(sink_->Start(), 0);
  ASSERT_TRUE(WaitForSilence(*sink_));
  EXPECT_GE(Clock::now() - start, 200ms);

  const auto heard = [&] {
    const std::vector<int16_t> captured = test::ReadRawSamples(capture.path());
    return std::search(captured.begin(), captured.end(), pattern.begin(), pattern.end()) !=
           captured.end();
  };
  EXPECT_TRUE(test::WaitUntil(heard, 5s));
  // The buffer ran dry; the next range is taken all the same.
  EXPECT_EQ(sink_->Write(samples.data(), kQuarterSecond), kQuarterSecond);
}

TEST_F(AlsaPulseSinkTest, WakeDescriptorEndsAWaitWhileTheBufferIsFull) {
  ASSERT_GT(Fill(*sink_), 0);
  pulse_.Freeze();
  ASSERT_GE(Fill(*sink_), 0);
  const UniqueFd wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  ASSERT_TRUE(wake.valid());

  // Nothing plays, so nothing but the wake descriptor may end the wait.
  auto start = Clock::now();
  EXPECT_EQ(sink_->WaitForRoom(wake.get(), 300), 0);
  EXPECT_GE(Clock::now() - start, 250ms);
  const uint64_t one = 1;
  ASSERT_EQ(write(wake.get(), &one, sizeof one), static_cast<ssize_t>(sizeof one));
  start = Clock::now();
  EXPECT_EQ(sink_->WaitForRoom(wake.get(), 20000), 0);
  EXPECT_LT(Clock::now() - start, 10s);
  EXPECT_EQ(sink_->Write(Pattern(1).data(), 1), 0);

  // Playing again makes room.
  pulse_.Thaw();
  start = Clock::now();
  EXPECT_EQ(sink_->WaitForRoom(-1, 20000), 0);
  EXPECT_LT(Clock::now() - start, 10s);
  EXPECT_GT(sink_->Write(Pattern(1).data(), 1), 0);
}

TEST_F(AlsaPulseSinkTest, DropForgetsTheQueueAndTakesNewFrames) {
  const std::vector<int16_t> samples = Pattern(kQuarterSecond);
  ASSERT_EQ(sink_->Write(samples.data(), kQuarterSecond), kQuarterSecond);
  sink_->Drop();
  EXPECT_EQ(sink_->Delay(), 0);
  EXPECT_EQ(sink_->Write(samples.data(), kQuarterSecond), kQuarterSecond);
  EXPECT_GT(sink_->Delay(), 0);
  EXPECT_TRUE(WaitForSilence(*sink_));
}

TEST_F(AlsaPulseSinkTest, DeviceThatDisappearsWhilePlayingReportsAnError) {
  ASSERT_GT(Fill(*sink_), 0);
  pulse_.Kill();
  const std::vector<int16_t> samples = Pattern(kQuarterSecond);
  long error = 0;
  const auto failed = [&] {
    for (long result : {static_cast<long>(sink_->WaitForRoom(-1, 50)),
                        sink_->Write(samples.data(), kQuarterSecond), sink_->Delay()}) {
      if (result < 0)
        error = result;
    }
    return error < 0;
  };
  ASSERT_TRUE(test::WaitUntil(failed, 10s));
  const std::string text = sink_->ErrorText(error);
  EXPECT_NE(text.find("the sound device \"zcdtest\" stopped working: "), std::string::npos) << text;
  EXPECT_GT(text.size(), std::string("the sound device \"zcdtest\" stopped working: ").size());
}

}  // namespace
}  // namespace zcd
