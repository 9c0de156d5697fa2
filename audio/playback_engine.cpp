#include "audio/playback_engine.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace zcd {
namespace {

// Two seconds read ahead carry playback over a drive's retries.
constexpr size_t kRingSectors = 150;
// How long a halt waits for the writer before it trusts the last place noted.
constexpr auto kHaltWait = std::chrono::milliseconds(250);
constexpr int kWriterPollMs = 100;

}  // namespace

PlaybackEngine::PlaybackEngine(SectorSourceOpener open_source, PcmSinkOpener open_sink,
                               std::shared_ptr<const StreamGain> gain)
    : open_source_(std::move(open_source)),
      open_sink_(std::move(open_sink)),
      gain_(std::move(gain)),
      reader_([this](std::stop_token stop) { ReadLoop(stop); }),
      writer_([this](std::stop_token stop) { WriteLoop(stop); }) {}

PlaybackEngine::~PlaybackEngine() {
  writer_.request_stop();
  reader_.request_stop();
  wake_writer_.Signal();
}

std::optional<std::string> PlaybackEngine::Start(int64_t from, int64_t end) {
  std::unique_lock lock(lock_);
  // Only the controlling thread fills an empty sink slot; the writer uses the
  // sink only while a job is active, and a failed device was let go by it.
  if (!sink_) {
    lock.unlock();
    PcmOpen opened = open_sink_();
    if (!opened.sink)
      return opened.error;
    lock.lock();
    sink_ = std::move(opened.sink);
  }
  NewGenerationLocked();
  from_ = from;
  end_ = std::max(from, end);
  active_ = true;
  state_ = State::kPlaying;
  heard_ = from;
  reader_wake_.notify_all();
  wake_writer_.Signal();
  return std::nullopt;
}

int64_t PlaybackEngine::Halt() {
  std::unique_lock lock(lock_);
  if (!active_)
    return heard_;
  NewGenerationLocked();
  active_ = false;
  state_ = State::kIdle;
  reader_wake_.notify_all();
  wake_writer_.Signal();
  if (halt_done_.wait_for(lock, kHaltWait, [this] { return writer_generation_ == generation_; }))
    heard_ = halted_at_;
  return heard_;
}

PlaybackEngine::State PlaybackEngine::state() const {
  std::lock_guard guard(lock_);
  return state_;
}

int64_t PlaybackEngine::Heard() const {
  std::lock_guard guard(lock_);
  return heard_;
}

std::optional<EngineEvent> PlaybackEngine::TakeEvent() {
  std::lock_guard guard(lock_);
  if (events_.empty())
    return std::nullopt;
  EngineEvent event = std::move(events_.front());
  events_.pop_front();
  return event;
}

void PlaybackEngine::NewGenerationLocked() {
  ++generation_;
  ring_.clear();
  read_all_ = false;
}

bool PlaybackEngine::CurrentJob(uint64_t generation) const {
  std::lock_guard guard(lock_);
  return active_ && generation == generation_;
}

void PlaybackEngine::ReadLoop(std::stop_token stop) {
  std::unique_ptr<SectorSource> source;
  uint64_t generation = 0;
  int32_t next = 0;
  bool skipping = false;
  std::unique_lock lock(lock_);
  while (!stop.stop_requested()) {
    const bool wanted =
        active_ && (generation != generation_ || (!read_all_ && ring_.size() < kRingSectors));
    if (!wanted) {
      reader_wake_.wait(lock, stop, [&] {
        return active_ &&
               (generation != generation_ || (!read_all_ && ring_.size() < kRingSectors));
      });
      continue;
    }
    if (generation != generation_) {
      generation = generation_;
      next = static_cast<int32_t>(from_ / kStereoFramesPerSector);
      skipping = false;
    }
    const int64_t from = from_;
    const int64_t end = end_;
    lock.unlock();
    if (!source) {
      SourceOpen opened = open_source_();
      lock.lock();
      if (!opened.source) {
        if (generation == generation_ && active_) {
          events_.push_back({EngineEvent::Kind::kSourceFailed, next,
                             opened.error.empty() ? "the disc holds no audio" : opened.error});
          state_ = State::kFailed;
          active_ = false;
          wake_writer_.Signal();
        }
        continue;
      }
      source = std::move(opened.source);
      continue;  // the job may have changed while the source opened
    }
    Chunk chunk;
    const bool read = source->Read(next, chunk.samples);
    lock.lock();
    if (generation != generation_)
      continue;
    const int64_t sector_start = static_cast<int64_t>(next) * kStereoFramesPerSector;
    const int64_t first = std::max(sector_start, from);
    const int64_t last = std::min(sector_start + kStereoFramesPerSector, end);
    if (read && last > first) {
      chunk.generation = generation;
      chunk.place = first;
      chunk.offset = static_cast<int>(first - sector_start);
      chunk.frames = static_cast<int>(last - first);
      ring_.push_back(std::move(chunk));
      skipping = false;
    } else if (!read && !skipping) {
      skipping = true;
      events_.push_back({EngineEvent::Kind::kSkipped, next, {}});
    }
    ++next;
    if (static_cast<int64_t>(next) * kStereoFramesPerSector >= end)
      read_all_ = true;
    wake_writer_.Signal();
  }
}

void PlaybackEngine::WriteLoop(std::stop_token stop) {
  std::stop_callback wake_on_stop(stop, [this] { wake_writer_.Signal(); });
  while (!stop.stop_requested()) {
    wake_writer_.Drain();
    std::unique_lock lock(lock_);
    if (writer_generation_ != generation_)
      SwitchJobLocked(sink_.get());
    if (!active_ || !sink_) {
      lock.unlock();
      wake_writer_.Wait(-1);
      continue;
    }
    PcmSink& sink = *sink_;
    const uint64_t generation = generation_;
    if (!ring_.empty()) {
      Chunk chunk = std::move(ring_.front());
      ring_.pop_front();
      reader_wake_.notify_all();
      lock.unlock();
      WriteChunk(sink, std::move(chunk));
      continue;
    }
    const bool read_all = read_all_;
    lock.unlock();
    if (read_all) {
      AwaitEnd(sink, generation);
      continue;
    }
    // The reader is behind: keep the clock true while waiting for it.
    if (FollowHeard(sink, generation))
      wake_writer_.Wait(kWriterPollMs);
  }
}

// A new job or a halt: note where the old sound stopped, then silence it.
void PlaybackEngine::SwitchJobLocked(PcmSink* sink) {
  halted_at_ = heard_;
  if (sink && written_ > 0) {
    int64_t place = 0;
    if (PlaceHeard(*sink, place) >= 0)
      halted_at_ = place;
    sink->Drop();
  }
  written_ = 0;
  segments_.clear();
  job_from_ = from_;
  writer_generation_ = generation_;
  halt_done_.notify_all();
}

long PlaybackEngine::PlaceHeard(PcmSink& sink, int64_t& place) {
  const long delay = sink.Delay();
  if (delay < 0)
    return delay;
  const int64_t index = std::max<int64_t>(0, written_ - delay);
  place = job_from_;
  for (const Segment& segment : segments_) {
    place = segment.place + std::min(index - segment.written_at, segment.frames);
    if (index < segment.written_at + segment.frames)
      break;
  }
  // What has been heard in full is no longer needed to find a place.
  while (segments_.size() > 1 && segments_[1].written_at <= index)
    segments_.pop_front();
  return 0;
}

bool PlaybackEngine::FollowHeard(PcmSink& sink, uint64_t generation) {
  std::lock_guard guard(lock_);
  if (!active_ || generation != generation_)
    return true;
  int64_t place = 0;
  const long result = PlaceHeard(sink, place);
  if (result < 0) {
    DeviceFailed(sink, result);
    return false;
  }
  heard_ = place;
  return true;
}

void PlaybackEngine::WriteChunk(PcmSink& sink, Chunk chunk) {
  int16_t* samples = chunk.samples.data() + 2 * chunk.offset;
  gain_->Apply(samples, chunk.frames);
  long left = chunk.frames;
  int64_t place = chunk.place;
  while (left > 0) {
    // Drained before the check, so a halt signalled after it still wakes the
    // wait below, and the reader's signals do not keep it spinning.
    wake_writer_.Drain();
    if (!CurrentJob(chunk.generation))
      return;
    const long taken = sink.Write(samples, left);
    if (taken < 0) {
      std::lock_guard guard(lock_);
      if (chunk.generation == generation_)
        DeviceFailed(sink, taken);
      return;
    }
    if (taken > 0) {
      std::lock_guard guard(lock_);
      if (!segments_.empty() && segments_.back().place + segments_.back().frames == place &&
          segments_.back().written_at + segments_.back().frames == written_)
        segments_.back().frames += taken;
      else
        segments_.push_back({written_, place, taken});
      written_ += taken;
      place += taken;
      samples += 2 * taken;
      left -= taken;
      continue;
    }
    const int waited = sink.WaitForRoom(wake_writer_.fd(), kWriterPollMs);
    if (waited < 0) {
      std::lock_guard guard(lock_);
      if (chunk.generation == generation_)
        DeviceFailed(sink, waited);
      return;
    }
    if (!FollowHeard(sink, chunk.generation))
      return;
  }
  FollowHeard(sink, chunk.generation);
}

// Everything is queued: the job ends when the device has played it all.
void PlaybackEngine::AwaitEnd(PcmSink& sink, uint64_t generation) {
  const int started = sink.Start();
  const long delay = started < 0 ? started : sink.Delay();
  std::unique_lock lock(lock_);
  if (!active_ || generation != generation_)
    return;
  if (delay < 0) {
    DeviceFailed(sink, delay);
    return;
  }
  if (delay == 0) {
    heard_ = end_;
    state_ = State::kFinished;
    active_ = false;
    return;
  }
  int64_t place = 0;
  if (PlaceHeard(sink, place) >= 0)
    heard_ = place;
  lock.unlock();
  const long ms = delay * 1000 / kSampleRate;
  wake_writer_.Wait(static_cast<int>(std::clamp<long>(ms, 1, kWriterPollMs)));
}

// Writer, under the lock: the device is gone; let it go and say so.
void PlaybackEngine::DeviceFailed(PcmSink& sink, long error) {
  events_.push_back({EngineEvent::Kind::kDeviceFailed,
                     static_cast<int32_t>(heard_ / kStereoFramesPerSector), sink.ErrorText(error)});
  state_ = State::kFailed;
  active_ = false;
  written_ = 0;
  segments_.clear();
  sink_.reset();
}

}  // namespace zcd
