// The time from Play to the first samples handed to the sound device, for
// each track of a disc image, through the system's default sound device.
//   zcd_digital_latency DISC.cue
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "audio/alsa_pcm_sink.h"
#include "audio/digital_cd_device.h"
#include "audio/image_sector_source.h"
#include "platform/virtual/cue_sheet.h"
#include "platform/virtual/virtual_drive.h"

namespace zcd {
namespace {

using Clock = std::chrono::steady_clock;

// Notes when the first samples reach the device.
class TimedSink : public PcmSink {
 public:
  TimedSink(std::unique_ptr<PcmSink> sink, std::atomic<int64_t>& first)
      : sink_(std::move(sink)), first_(first) {}
  int WaitForRoom(int wake_fd, int timeout_ms) override {
    return sink_->WaitForRoom(wake_fd, timeout_ms);
  }
  long Write(const int16_t* samples, long frames) override {
    const long taken = sink_->Write(samples, frames);
    int64_t none = 0;
    if (taken > 0)
      first_.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
    return taken;
  }
  long Delay() override { return sink_->Delay(); }
  int Start() override { return sink_->Start(); }
  void Drop() override { sink_->Drop(); }
  std::string ErrorText(long error) const override { return sink_->ErrorText(error); }

 private:
  std::unique_ptr<PcmSink> sink_;
  std::atomic<int64_t>& first_;
};

int Run(const char* cue) {
  CueSheetResult sheet = LoadCueSheet(cue);
  if (!sheet.disc || sheet.disc->audio.empty()) {
    std::fprintf(stderr, "%s: %s\n", cue, sheet.disc ? "no audio files" : sheet.error.c_str());
    return 1;
  }
  auto drive = VirtualDrive::Create(std::make_shared<SteadyClock>(), *sheet.disc);
  std::atomic<int64_t> first{0};
  DigitalOutput output{[&first] {
                         PcmOpen opened = OpenAlsaPcm();
                         if (opened.sink)
                           opened.sink = std::make_unique<TimedSink>(std::move(opened.sink), first);
                         return opened;
                       },
                       std::make_shared<StreamGain>()};
  const ImageLayout layout = sheet.disc->audio;
  DigitalCdDevice device(
      drive->Open(true), [layout] { return OpenImageSource(layout); }, output);
  std::vector<double> ms;
  int audio_tracks = 0;
  for (const VirtualTrack& track : sheet.disc->tracks)
    audio_tracks += track.audio ? 1 : 0;
  for (int round = 0; round < 3; ++round) {
    for (int track = 1; track <= audio_tracks; ++track) {
      first = 0;
      const auto asked = Clock::now();
      if (!device.Play(track, std::nullopt, true)) {
        std::fprintf(stderr, "track %d does not play\n", track);
        return 1;
      }
      while (first == 0 && Clock::now() - asked < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      if (auto notice = device.TakeNotice()) {
        std::fprintf(stderr, "%s\n", notice->text.c_str());
        return 1;
      }
      ms.push_back(std::chrono::duration<double, std::milli>(
                       Clock::time_point(Clock::duration(first.load())) - asked)
                       .count());
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      device.Stop();
    }
  }
  std::sort(ms.begin(), ms.end());
  std::printf("Play to first samples written, %zu plays: median %.1f ms, worst %.1f ms\n",
              ms.size(), ms[ms.size() / 2], ms.back());
  return 0;
}

}  // namespace
}  // namespace zcd

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DISC.cue\n", argv[0]);
    return 2;
  }
  return zcd::Run(argv[1]);
}
