#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "audio/pcm_sink.h"
#include "audio/sector_source.h"
#include "audio/stream_gain.h"
#include "audio/wake_fd.h"

namespace zcd {

// What happened on the way that the user should hear of.
struct EngineEvent {
  enum class Kind {
    kSkipped,       // sectors from `frame` on could not be read and were left out
    kDeviceFailed,  // the sound device failed at `frame`; playback stopped
    kSourceFailed,  // the disc's audio could not be opened; playback stopped
  };
  Kind kind = Kind::kSkipped;
  int32_t frame = 0;
  std::string detail;
};

// Plays stretches of a disc through a sound device. One thread reads sectors
// ahead into a ring, another writes them to the device and follows what is
// heard. Places are stereo sample frames counted from the disc's first
// absolute frame: absolute frame f starts at f * 588.
//
// The controlling thread never waits on the device or the source: Start and
// Halt return at once, except that Halt waits, briefly and bounded, for the
// writer to say where the sound stopped.
class PlaybackEngine {
 public:
  enum class State { kIdle, kPlaying, kFinished, kFailed };

  // The source is opened on the reading thread when first needed, since a
  // drive may take seconds to spin up.
  PlaybackEngine(SectorSourceOpener open_source, PcmSinkOpener open_sink,
                 std::shared_ptr<const StreamGain> gain);
  ~PlaybackEngine();
  PlaybackEngine(const PlaybackEngine&) = delete;
  PlaybackEngine& operator=(const PlaybackEngine&) = delete;

  // Controlling thread: plays [from, end), dropping whatever still sounds.
  // The error of a sound device that would not open, none when playing.
  std::optional<std::string> Start(int64_t from, int64_t end);
  // Controlling thread: silences the device at once and returns the first
  // place not heard, where a later Start continues without a gap or repeat.
  int64_t Halt();

  // Any thread.
  State state() const;
  // The place being heard now; the end once finished.
  int64_t Heard() const;
  std::optional<EngineEvent> TakeEvent();

 private:
  struct Chunk {
    uint64_t generation = 0;
    int64_t place = 0;  // of the first sample frame used
    int offset = 0;     // sample frames of the sector before it
    int frames = 0;
    SectorSamples samples{};
  };
  // Sample frames written to the device in one unbroken stretch of the disc.
  struct Segment {
    int64_t written_at = 0;  // the device's count of frames written when it began
    int64_t place = 0;
    int64_t frames = 0;
  };

  void ReadLoop(std::stop_token stop);
  void WriteLoop(std::stop_token stop);
  // Writer: the place the device is sounding, from its delay; an error
  // when the device failed.
  long PlaceHeard(PcmSink& sink, int64_t& place);
  void SwitchJobLocked(PcmSink* sink);
  void WriteChunk(PcmSink& sink, Chunk chunk);
  void AwaitEnd(PcmSink& sink, uint64_t generation);
  // Writer: notes the place heard; false when the device failed.
  bool FollowHeard(PcmSink& sink, uint64_t generation);
  void DeviceFailed(PcmSink& sink, long error);
  bool CurrentJob(uint64_t generation) const;
  void NewGenerationLocked();

  const SectorSourceOpener open_source_;
  const PcmSinkOpener open_sink_;
  const std::shared_ptr<const StreamGain> gain_;
  WakeFd wake_writer_;

  mutable std::mutex lock_;
  std::condition_variable_any reader_wake_;
  std::condition_variable halt_done_;
  uint64_t generation_ = 0;
  bool active_ = false;
  int64_t from_ = 0;
  int64_t end_ = 0;
  State state_ = State::kIdle;
  int64_t heard_ = 0;
  std::deque<Chunk> ring_;
  bool read_all_ = false;  // the reader has queued every readable sector of the job
  uint64_t writer_generation_ = 0;
  int64_t halted_at_ = 0;
  std::deque<EngineEvent> events_;
  std::unique_ptr<PcmSink> sink_;  // touched by the writer only while active_

  // Writer's own.
  int64_t written_ = 0;  // frames written since the device last dropped its queue
  std::deque<Segment> segments_;
  int64_t job_from_ = 0;

  std::jthread reader_;  // last: they start once everything they use exists
  std::jthread writer_;
};

}  // namespace zcd
