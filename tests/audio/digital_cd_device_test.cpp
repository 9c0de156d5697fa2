#include "audio/digital_cd_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>

#include "audio/alsa_file_config.h"
#include "audio/alsa_pcm_sink.h"
#include "audio/image_sector_source.h"
#include "audio/private_pulse.h"
#include "audio/test_image.h"
#include "platform/virtual/cue_sheet.h"
#include "platform/virtual/virtual_drive.h"
#include "support/temp_dir.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using test::FileSlave;

constexpr char kDevice[] = "zcdtest";
constexpr int64_t kPerFrame = kStereoFramesPerSector;

// Fails the chosen sectors of another source, as a scratched disc does.
class ScratchedSource : public SectorSource {
 public:
  ScratchedSource(std::unique_ptr<SectorSource> disc, std::set<int32_t> scratched)
      : disc_(std::move(disc)), scratched_(std::move(scratched)) {}
  bool Read(int32_t frame, SectorSamples& out) override {
    return !scratched_.count(frame) && disc_->Read(frame, out);
  }

 private:
  std::unique_ptr<SectorSource> disc_;
  std::set<int32_t> scratched_;
};

// A pattern image in a virtual drive, played through ALSA's file plugin, so
// every sample written lands in a file whose frames say where they came from.
class DigitalCdDeviceTest : public ::testing::Test {
 protected:
  // Three tracks of 1, 0.8 and 1.2 seconds.
  void SetUp() override {
    image_ = test::WriteTestImage(dir_.path(), {75, 60, 90}, test::TestImageFormat::kBinary);
    CueSheetResult sheet = LoadCueSheet(image_.cue);
    ASSERT_TRUE(sheet.disc) << sheet.error;
    drive_ = VirtualDrive::Create(clock_, *sheet.disc);
  }

  std::unique_ptr<DigitalCdDevice> Open(FileSlave slave, std::set<int32_t> scratched = {}) {
    test::WriteAlsaFileConfig(dir_.File("asound.conf"), kDevice, out_, slave);
    const std::string config = dir_.File("asound.conf");
    DigitalOutput output{[config] { return OpenAlsaPcm(kDevice, config); }, gain_};
    const ImageLayout layout = drive_->Disc()->audio;
    SectorSourceOpener source = [layout, scratched] {
      SourceOpen opened = OpenImageSource(layout);
      if (opened.source && !scratched.empty())
        opened.source = std::make_unique<ScratchedSource>(std::move(opened.source), scratched);
      return opened;
    };
    return std::make_unique<DigitalCdDevice>(drive_->Open(true), source, output);
  }

  // The pattern places of the frames written, in order.
  std::vector<int64_t> Written() const {
    std::vector<int64_t> places;
    const std::vector<int16_t> samples = test::ReadRawSamples(out_);
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
      places.push_back(test::PatternIndex(samples[i], samples[i + 1]));
    return places;
  }

  // Where the track starts, as a pattern place (the pattern counts from the
  // first audio frame after the lead-in).
  int64_t TrackPlace(int track) const {
    return (image_.track_starts[track - 1] - kLeadInFrames) * kPerFrame;
  }
  int64_t EndPlace() const { return (image_.lead_out - kLeadInFrames) * kPerFrame; }

  static bool WaitForCompletion(CdDevice& device) {
    return test::WaitUntil([&] { return device.TakeCompletion(); }, 20s);
  }

  test::TempDir dir_;
  const std::string out_ = dir_.File("written.raw");
  std::shared_ptr<ManualClock> clock_ = std::make_shared<ManualClock>();
  std::shared_ptr<StreamGain> gain_ = std::make_shared<StreamGain>();
  test::TestImage image_;
  std::shared_ptr<VirtualDrive> drive_;
};

// Where the frames written run on unbroken: [first, end) pairs. ALSA's file
// plugin holds back up to a buffer until the device closes, so a test reads
// them once the device is gone.
using Runs = std::vector<std::pair<int64_t, int64_t>>;
Runs RunsOf(const std::vector<int64_t>& places) {
  Runs runs;
  for (int64_t place : places) {
    if (runs.empty() || place != runs.back().second)
      runs.push_back({place, place});
    ++runs.back().second;
  }
  return runs;
}

TEST_F(DigitalCdDeviceTest, ARangeIsWrittenSampleForSampleAcrossTracksThenCompletes) {
  auto device = Open(FileSlave::kNull);
  ASSERT_TRUE(device->Play(1, 3, true));
  ASSERT_TRUE(WaitForCompletion(*device));
  EXPECT_EQ(device->Mode(), DeviceMode::kStopped);
  EXPECT_EQ(device->Position(), (TrackPosition{3, 0, 0, 0}));
  EXPECT_FALSE(device->TakeCompletion()) << "one completion per play";
  EXPECT_TRUE(device->SoundEndsWithProgram());
  device.reset();
  // Tracks 1 and 2 back to back, with nothing between them, and only them.
  EXPECT_EQ(RunsOf(Written()), (Runs{{TrackPlace(1), TrackPlace(3)}}));
}

TEST_F(DigitalCdDeviceTest, UnreadableSectorsAreLeftOutWithANoticeAndPlayGoesOn) {
  const int32_t scratch = image_.track_starts[1] + 30;  // 0.4 s into track 2
  auto device = Open(FileSlave::kNull, {scratch, scratch + 1, scratch + 2});
  ASSERT_TRUE(device->Play(2, std::nullopt, true));
  ASSERT_TRUE(WaitForCompletion(*device));
  EXPECT_EQ(device->TakeNotice(),
            (PlaybackNotice{"Skipped unreadable audio in track 2 at 0:00", false}));
  EXPECT_EQ(device->TakeNotice(), std::nullopt) << "one notice for one stretch";
  device.reset();
  EXPECT_EQ(RunsOf(Written()), (Runs{{TrackPlace(2), TrackPlace(2) + 30 * kPerFrame},
                                     {TrackPlace(2) + 33 * kPerFrame, EndPlace()}}));
}

TEST_F(DigitalCdDeviceTest, PauseSeekAndResumeContinueAtTheSampleWhereTheSoundStopped) {
  test::PrivatePulse pulse;
  ZCD_REQUIRE_PULSE(pulse);
  auto device = Open(FileSlave::kPulse);
  ASSERT_TRUE(device->Play(1, std::nullopt, true));
  // Paused once a fifth of a second is heard.
  ASSERT_TRUE(test::WaitUntil(
      [&] {
        auto at = device->Position();
        return at && at->seconds * 75 + at->frames >= 15;
      },
      10s));
  ASSERT_TRUE(device->Pause());
  EXPECT_EQ(device->Mode(), DeviceMode::kPaused);
  const std::optional<TrackPosition> paused = device->Position();
  ASSERT_TRUE(paused);
  ASSERT_TRUE(device->Resume());
  // Then a pause, a seek into track 3 and a play from there to the end.
  ASSERT_TRUE(test::WaitUntil(
      [&] {
        auto at = device->Position();
        return at && (at->track > paused->track || at->frames != paused->frames);
      },
      10s));
  ASSERT_TRUE(device->Pause());
  ASSERT_TRUE(device->Seek({3, 0, 0, 40}));
  ASSERT_TRUE(device->Play(std::nullopt, std::nullopt, true));
  ASSERT_TRUE(WaitForCompletion(*device));
  device.reset();

  const Runs runs = RunsOf(Written());
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].first, 0);
  // Resuming goes back over what was written but not yet heard, to the
  // place the position showed: at most a buffer back.
  const int64_t paused_frame = image_.track_starts[paused->track - 1] - kLeadInFrames +
                               paused->seconds * 75 + paused->frames;
  EXPECT_EQ(runs[1].first / kPerFrame, paused_frame);
  EXPECT_LE(runs[1].first, runs[0].second);
  EXPECT_GE(runs[1].first, runs[0].second - kSampleRate / 2) << "a buffer at most";
  EXPECT_EQ(runs[2], std::make_pair(TrackPlace(3) + 40 * kPerFrame, EndPlace()));
}

TEST_F(DigitalCdDeviceTest, CompletionComesWhenTheLastSampleIsHeardNotWhenItIsWritten) {
  test::PrivatePulse pulse;
  ZCD_REQUIRE_PULSE(pulse);
  auto device = Open(FileSlave::kPulse);
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(device->Play(1, 2, true));
  // The whole second fits the device's buffer long before it has played.
  ASSERT_TRUE(WaitForCompletion(*device));
  EXPECT_GE(std::chrono::steady_clock::now() - started, 950ms);
  EXPECT_EQ(device->Position(), (TrackPosition{2, 0, 0, 0}));
}

TEST_F(DigitalCdDeviceTest, ASoundDeviceThatDisappearsStopsPlaybackWithANotice) {
  test::PrivatePulse pulse;
  ZCD_REQUIRE_PULSE(pulse);
  auto device = Open(FileSlave::kPulse);
  ASSERT_TRUE(device->Play(1, std::nullopt, true));
  ASSERT_TRUE(test::WaitUntil([&] { return !Written().empty(); }, 10s));
  pulse.Kill();
  std::optional<PlaybackNotice> notice;
  ASSERT_TRUE(test::WaitUntil([&] { return (notice = device->TakeNotice()).has_value(); }, 10s));
  EXPECT_TRUE(notice->stopped);
  EXPECT_EQ(notice->text.rfind("The sound device failed: ", 0), 0u) << notice->text;
  EXPECT_EQ(device->Mode(), DeviceMode::kStopped);
  EXPECT_FALSE(device->TakeCompletion());
}

TEST_F(DigitalCdDeviceTest, WithoutASoundDeviceTheDrivePlaysOnItsOwnAndSaysSoOnce) {
  DigitalOutput none{[] { return PcmOpen{nullptr, "no card"}; }, gain_};
  const ImageLayout layout = drive_->Disc()->audio;
  DigitalCdDevice device(
      drive_->Open(true), [layout] { return OpenImageSource(layout); }, none);
  ASSERT_TRUE(device.Play(2, std::nullopt, true));
  EXPECT_EQ(drive_->LastPlay(), (VirtualPlayCommand{2, std::nullopt, true}));
  EXPECT_EQ(device.TakeNotice(),
            (PlaybackNotice{"No sound device (no card): the drive plays on its own", false}));
  clock_->Advance(500ms);
  EXPECT_EQ(device.Position(), (TrackPosition{2, 0, 0, 37}));
  EXPECT_FALSE(device.SoundEndsWithProgram());
  ASSERT_TRUE(device.Play(1, std::nullopt, true));
  EXPECT_EQ(device.TakeNotice(), std::nullopt);
}

}  // namespace
}  // namespace zcd
