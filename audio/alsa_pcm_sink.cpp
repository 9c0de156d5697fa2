#include "audio/alsa_pcm_sink.h"

#include <alsa/asoundlib.h>
#include <poll.h>

#include <cerrno>
#include <memory>
#include <utility>
#include <vector>

#include "audio/alsa_quiet.h"
#include "audio/sector_source.h"

namespace zcd {
namespace {

constexpr unsigned kChannels = 2;
// Long enough to ride out a busy moment of the reading thread, short enough
// that pause and seek are heard at once.
constexpr unsigned kBufferMicroseconds = 300000;
constexpr unsigned kPeriodMicroseconds = 50000;

template <typename T, auto Free>
struct AlsaDeleter {
  void operator()(T* p) const { Free(p); }
};
using PcmHandle = std::unique_ptr<snd_pcm_t, AlsaDeleter<snd_pcm_t, snd_pcm_close>>;
using ConfigHandle = std::unique_ptr<snd_config_t, AlsaDeleter<snd_config_t, snd_config_delete>>;
using InputHandle = std::unique_ptr<snd_input_t, AlsaDeleter<snd_input_t, snd_input_close>>;
using HwParams =
    std::unique_ptr<snd_pcm_hw_params_t, AlsaDeleter<snd_pcm_hw_params_t, snd_pcm_hw_params_free>>;
using SwParams =
    std::unique_ptr<snd_pcm_sw_params_t, AlsaDeleter<snd_pcm_sw_params_t, snd_pcm_sw_params_free>>;

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

class AlsaPcmSink : public PcmSink {
 public:
  AlsaPcmSink(ConfigHandle config, PcmHandle pcm, std::string device,
              snd_pcm_uframes_t buffer_frames)
      : config_(std::move(config)),
        pcm_(std::move(pcm)),
        device_(std::move(device)),
        buffer_frames_(static_cast<snd_pcm_sframes_t>(buffer_frames)) {}

  int WaitForRoom(int wake_fd, int timeout_ms) override {
    const int count = snd_pcm_poll_descriptors_count(pcm_.get());
    if (count < 0)
      return count;
    fds_.assign(static_cast<size_t>(count) + 1, pollfd{});
    const int filled =
        snd_pcm_poll_descriptors(pcm_.get(), fds_.data(), static_cast<unsigned>(count));
    if (filled < 0)
      return filled;
    // poll() skips a negative descriptor, so "no wake descriptor" needs no case.
    fds_[static_cast<size_t>(filled)] = pollfd{wake_fd, POLLIN, 0};
    const int ready = poll(fds_.data(), static_cast<nfds_t>(filled) + 1, timeout_ms);
    if (ready < 0)
      return errno == EINTR ? 0 : -errno;
    if (ready == 0 || fds_[static_cast<size_t>(filled)].revents != 0)
      return 0;
    unsigned short revents = 0;
    const int err = snd_pcm_poll_descriptors_revents(pcm_.get(), fds_.data(),
                                                     static_cast<unsigned>(filled), &revents);
    if (err < 0)
      return err;
    if ((revents & (POLLERR | POLLHUP | POLLNVAL)) == 0)
      return 0;
    return Failure();
  }

  long Write(const int16_t* samples, long frames) override {
    snd_pcm_sframes_t written =
        snd_pcm_writei(pcm_.get(), samples, static_cast<snd_pcm_uframes_t>(frames));
    if (written == -EPIPE || written == -ESTRPIPE) {
      const int err = Recover(static_cast<int>(written));
      if (err < 0)
        return err;
      written = snd_pcm_writei(pcm_.get(), samples, static_cast<snd_pcm_uframes_t>(frames));
    }
    if (written == -EAGAIN || written == -EPIPE || written == -ESTRPIPE)
      return 0;
    return written;
  }

  long Delay() override {
    switch (snd_pcm_state(pcm_.get())) {
      case SND_PCM_STATE_XRUN:
        // Everything written was played and the buffer ran dry.
        return 0;
      case SND_PCM_STATE_PREPARED: {
        // Nothing played yet: what is queued is exactly what is not heard.
        const snd_pcm_sframes_t room = snd_pcm_avail_update(pcm_.get());
        if (room < 0)
          return room;
        return room >= buffer_frames_ ? 0 : buffer_frames_ - room;
      }
      case SND_PCM_STATE_SUSPENDED: {
        const int err = Recover(-ESTRPIPE);
        if (err < 0)
          return err;
        break;
      }
      case SND_PCM_STATE_DISCONNECTED:
        return -ENODEV;
      default:
        break;
    }
    snd_pcm_sframes_t delay = 0;
    const int err = snd_pcm_delay(pcm_.get(), &delay);
    if (err == -EPIPE)
      return 0;
    if (err < 0)
      return err;
    return delay < 0 ? 0 : delay;
  }

  int Start() override {
    if (snd_pcm_state(pcm_.get()) != SND_PCM_STATE_PREPARED)
      return 0;
    const snd_pcm_sframes_t room = snd_pcm_avail_update(pcm_.get());
    if (room < 0)
      return static_cast<int>(room);
    if (room >= buffer_frames_)
      return 0;
    return snd_pcm_start(pcm_.get());
  }

  void Drop() override {
    // A failure here shows in the next call, which reports it.
    snd_pcm_drop(pcm_.get());
    snd_pcm_prepare(pcm_.get());
  }

  std::string ErrorText(long error) const override {
    return "the sound device " + Quoted(device_) +
           " stopped working: " + snd_strerror(static_cast<int>(error));
  }

 private:
  // Brings the device back after an underrun or a suspend. Not
  // snd_pcm_recover for a suspend: it sleeps until the device resumes, and
  // no call here may block.
  int Recover(int error) {
    if (error == -EPIPE)
      return snd_pcm_recover(pcm_.get(), error, 1);
    if (snd_pcm_resume(pcm_.get()) == 0)
      return 0;
    return snd_pcm_prepare(pcm_.get());
  }

  // Why the device's descriptors reported an error.
  int Failure() {
    const snd_pcm_sframes_t room = snd_pcm_avail_update(pcm_.get());
    if (room == -EPIPE || room == -ESTRPIPE)
      return 0;  // Write recovers
    if (room < 0)
      return static_cast<int>(room);
    switch (snd_pcm_state(pcm_.get())) {
      case SND_PCM_STATE_XRUN:
      case SND_PCM_STATE_SUSPENDED:
        return 0;
      case SND_PCM_STATE_DISCONNECTED:
        return -ENODEV;
      default:
        return -EIO;
    }
  }

  ConfigHandle config_;  // outlives the device opened from it
  PcmHandle pcm_;
  std::string device_;
  snd_pcm_sframes_t buffer_frames_;
  std::vector<pollfd> fds_;
};

// Sets 44.1 kHz 16-bit stereo with the buffer, period and start threshold.
int Configure(snd_pcm_t* pcm, snd_pcm_uframes_t& buffer_frames) {
  snd_pcm_hw_params_t* raw_hw = nullptr;
  int err = snd_pcm_hw_params_malloc(&raw_hw);
  if (err < 0)
    return err;
  const HwParams hw(raw_hw);
  unsigned buffer_time = kBufferMicroseconds;
  unsigned period_time = kPeriodMicroseconds;
  int dir = 0;
  if ((err = snd_pcm_hw_params_any(pcm, hw.get())) < 0 ||
      (err = snd_pcm_hw_params_set_rate_resample(pcm, hw.get(), 1)) < 0 ||
      (err = snd_pcm_hw_params_set_access(pcm, hw.get(), SND_PCM_ACCESS_RW_INTERLEAVED)) < 0 ||
      (err = snd_pcm_hw_params_set_format(pcm, hw.get(), SND_PCM_FORMAT_S16)) < 0 ||
      (err = snd_pcm_hw_params_set_channels(pcm, hw.get(), kChannels)) < 0 ||
      (err = snd_pcm_hw_params_set_rate(pcm, hw.get(), kSampleRate, 0)) < 0 ||
      (err = snd_pcm_hw_params_set_buffer_time_near(pcm, hw.get(), &buffer_time, &dir)) < 0 ||
      (err = snd_pcm_hw_params_set_period_time_near(pcm, hw.get(), &period_time, &dir)) < 0 ||
      (err = snd_pcm_hw_params(pcm, hw.get())) < 0)
    return err;
  snd_pcm_uframes_t period_frames = 0;
  if ((err = snd_pcm_hw_params_get_buffer_size(hw.get(), &buffer_frames)) < 0 ||
      (err = snd_pcm_hw_params_get_period_size(hw.get(), &period_frames, &dir)) < 0)
    return err;

  snd_pcm_sw_params_t* raw_sw = nullptr;
  if ((err = snd_pcm_sw_params_malloc(&raw_sw)) < 0)
    return err;
  const SwParams sw(raw_sw);
  // The first period is heard at once; shorter queues need Start.
  if ((err = snd_pcm_sw_params_current(pcm, sw.get())) < 0 ||
      (err = snd_pcm_sw_params_set_start_threshold(pcm, sw.get(), period_frames)) < 0 ||
      (err = snd_pcm_sw_params_set_avail_min(pcm, sw.get(), period_frames)) < 0 ||
      (err = snd_pcm_sw_params(pcm, sw.get())) < 0)
    return err;
  return snd_pcm_prepare(pcm);
}

// The device's definitions from a file of its own, or the reason it has none.
std::pair<ConfigHandle, std::string> LoadConfig(const std::filesystem::path& file) {
  const auto failed = [&](int err) {
    return std::pair<ConfigHandle, std::string>(
        nullptr,
        "cannot read the sound configuration " + Quoted(file.string()) + ": " + snd_strerror(err));
  };
  snd_config_t* raw_top = nullptr;
  int err = snd_config_top(&raw_top);
  if (err < 0)
    return failed(err);
  ConfigHandle top(raw_top);
  snd_input_t* raw_in = nullptr;
  if ((err = snd_input_stdio_open(&raw_in, file.c_str(), "r")) < 0)
    return failed(err);
  const InputHandle in(raw_in);
  if ((err = snd_config_load(top.get(), in.get())) < 0)
    return failed(err);
  return {std::move(top), std::string()};
}

}  // namespace

PcmOpen OpenAlsaPcm(const std::string& device, const std::filesystem::path& config_file) {
  QuietAlsaErrors();
  ConfigHandle config;
  snd_pcm_t* raw_pcm = nullptr;
  int err = 0;
  if (config_file.empty()) {
    err = snd_pcm_open(&raw_pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  } else {
    std::string why;
    std::tie(config, why) = LoadConfig(config_file);
    if (!config)
      return {nullptr, why};
    err = snd_pcm_open_lconf(&raw_pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK,
                             config.get());
  }
  if (err < 0)
    return {nullptr, "cannot open the sound device " + Quoted(device) + ": " + snd_strerror(err)};
  PcmHandle pcm(raw_pcm);
  snd_pcm_uframes_t buffer_frames = 0;
  if ((err = Configure(pcm.get(), buffer_frames)) < 0)
    return {nullptr, "the sound device " + Quoted(device) +
                         " cannot play CD audio (44.1 kHz, 16-bit stereo): " + snd_strerror(err)};
  return {std::make_unique<AlsaPcmSink>(std::move(config), std::move(pcm), device, buffer_frames),
          {}};
}

}  // namespace zcd
