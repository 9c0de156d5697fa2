#include "tools/demo_disc_gen/track_render.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/demo_disc_gen/composer.h"
#include "tools/demo_disc_gen/disc_plan.h"
#include "tools/demo_disc_gen/pieces.h"
#include "tools/demo_disc_gen/reverb.h"

namespace zcd::demo_gen {
namespace {

// Raised-cosine fades: a second in and two out, less on a very short track,
// so that a track change never lands in the middle of a note.
void Fade(StereoBuffer& buffer) {
  const double seconds = static_cast<double>(buffer.size()) / kSampleRate;
  const auto fade_in = static_cast<int64_t>(std::min(1.0, seconds * 0.1) * kSampleRate);
  const auto fade_out = static_cast<int64_t>(std::min(2.0, seconds * 0.25) * kSampleRate);
  auto gain = [](int64_t n, int64_t length) {
    return static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(n) /
                                                   static_cast<double>(length)));
  };
  for (int64_t n = 0; n < fade_in; ++n) {
    buffer.left[n] *= gain(n, fade_in);
    buffer.right[n] *= gain(n, fade_in);
  }
  for (int64_t n = 0; n < fade_out; ++n) {
    const int64_t i = buffer.size() - 1 - n;
    buffer.left[i] *= gain(n, fade_out);
    buffer.right[i] *= gain(n, fade_out);
  }
}

// The gain that brings the track to a common loudness, held down so no
// peak passes the ceiling.
double LevelGain(const StereoBuffer& buffer) {
  double peak = 0;
  double sum = 0;
  for (int64_t n = 0; n < buffer.size(); ++n) {
    const double l = buffer.left[n];
    const double r = buffer.right[n];
    peak = std::max({peak, std::abs(l), std::abs(r)});
    sum += l * l + r * r;
  }
  if (peak == 0)
    return 0;
  const double rms = std::sqrt(sum / (2.0 * static_cast<double>(buffer.size())));
  return std::min(kTargetRms / rms, kPeakCeiling / peak);
}

}  // namespace

std::vector<int16_t> RenderTrack(size_t track) {
  const int64_t music = MusicFrames(track) * kSamplesPerCdFrame;
  const int64_t silence = SilenceFramesAfter(track) * kSamplesPerCdFrame;
  const PieceStyle& style = PieceFor(track);
  StereoBuffer buffer(music);
  for (const Note& note : ComposePiece(style, static_cast<double>(music) / kSampleRate))
    RenderNote(note, buffer);
  AddReverb(buffer, style.reverb);
  Fade(buffer);
  const double gain = LevelGain(buffer);

  std::vector<int16_t> samples(static_cast<size_t>((music + silence) * kChannels));
  for (int64_t n = 0; n < music; ++n) {
    samples[2 * n] = static_cast<int16_t>(std::lrint(buffer.left[n] * gain * 32767.0));
    samples[2 * n + 1] = static_cast<int16_t>(std::lrint(buffer.right[n] * gain * 32767.0));
  }
  return samples;
}

}  // namespace zcd::demo_gen
