#include "tools/demo_disc_gen/instruments.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/demo_disc_gen/disc_plan.h"
#include "tools/demo_disc_gen/random.h"
#include "tools/demo_disc_gen/wavetable.h"

namespace zcd::demo_gen {
namespace {

constexpr double kDt = 1.0 / kSampleRate;

double Frequency(int pitch) {
  return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

// The span of samples a note covers, clipped to the buffer.
struct Span {
  int64_t first = 0;
  int64_t count = 0;
};

Span NoteSpan(const Note& note, double seconds, const StereoBuffer& out) {
  const int64_t first = std::max<int64_t>(0, std::llround(note.start * kSampleRate));
  const int64_t end = std::min<int64_t>(out.size(), first + std::llround(seconds * kSampleRate));
  return {first, std::max<int64_t>(0, end - first)};
}

// 1 while held, then a linear fall to 0 over `release` seconds.
float Release(double t, double held, double release) {
  if (t <= held)
    return 1.0f;
  return static_cast<float>(std::max(0.0, 1.0 - (t - held) / release));
}

// A string's loop: a delay line, a two-point average that darkens each pass,
// and an allpass for the fraction of a sample the line cannot hold.
void RenderPluck(const Note& note, StereoBuffer& out) {
  constexpr double kRelease = 0.12;
  const double f = Frequency(note.pitch);
  const double period = kSampleRate / f;
  int length = static_cast<int>(period - 0.5);
  double fraction = period - 0.5 - length;
  if (fraction < 0.1) {
    --length;
    fraction += 1.0;
  }
  const float allpass = static_cast<float>((1.0 - fraction) / (1.0 + fraction));
  // Rings for about four seconds in the middle register, shorter up high.
  const float loss = static_cast<float>(std::pow(10.0, -3.0 / (4.0 * f)));

  std::vector<float> line(static_cast<size_t>(length));
  Random random(note.seed);
  float smooth = 0;
  float mean = 0;
  for (float& x : line) {
    smooth += 0.45f * (static_cast<float>(random.Signed()) - smooth);
    x = smooth;
    mean += x;
  }
  mean /= static_cast<float>(line.size());
  for (float& x : line)
    x -= mean;

  const Span span = NoteSpan(note, note.length + kRelease, out);
  const PanGains pan(note.pan);
  float previous = 0;
  float ap_in = 0;
  float ap_out = 0;
  size_t pos = 0;
  for (int64_t n = 0; n < span.count; ++n) {
    const float y = line[pos];
    const float average = 0.5f * (y + previous);
    previous = y;
    ap_out = allpass * average + ap_in - allpass * ap_out;
    ap_in = average;
    line[pos] = ap_out * loss;
    pos = pos + 1 == line.size() ? 0 : pos + 1;
    const float v = y * note.level * Release(static_cast<double>(n) * kDt, note.length, kRelease);
    out.left[span.first + n] += v * pan.left;
    out.right[span.first + n] += v * pan.right;
  }
}

struct FmVoice {
  double ratio;       // modulator frequency over carrier frequency
  double index;       // modulation depth at the strike
  double index_fall;  // seconds for the depth to fall by e
  double decay;       // seconds for the sound to fall by e
};

constexpr FmVoice kBellVoice{1.4, 2.2, 0.7, 1.6};
constexpr FmVoice kEPianoVoice{1.0, 1.5, 0.35, 1.1};

void RenderFm(const Note& note, const FmVoice& voice, StereoBuffer& out) {
  constexpr double kAttack = 0.004;
  constexpr double kRelease = 0.25;
  const Wavetable& sine = SineTable();
  const double f = Frequency(note.pitch);
  const Phase carrier_step = PhaseStep(f, kSampleRate);
  const Phase modulator_step = PhaseStep(f * voice.ratio, kSampleRate);
  const auto index_per_sample = static_cast<float>(std::exp(-kDt / voice.index_fall));
  const auto amp_per_sample = static_cast<float>(std::exp(-kDt / voice.decay));
  const Span span = NoteSpan(note, note.length + kRelease, out);
  const PanGains pan(note.pan);
  Phase carrier = 0;
  Phase modulator = 0;
  // The depth in phase units: radians over 2 pi, times a whole cycle.
  auto index = static_cast<float>(voice.index / (2.0 * std::numbers::pi) * 4294967296.0);
  float amp = note.level;
  for (int64_t n = 0; n < span.count; ++n) {
    const double t = static_cast<double>(n) * kDt;
    const auto swing = static_cast<int32_t>(index * sine.At(modulator));
    float v = sine.At(carrier + static_cast<Phase>(swing)) * amp;
    if (t < kAttack)
      v *= static_cast<float>(t / kAttack);
    v *= Release(t, note.length, kRelease);
    out.left[span.first + n] += v * pan.left;
    out.right[span.first + n] += v * pan.right;
    carrier += carrier_step;
    modulator += modulator_step;
    index *= index_per_sample;
    amp *= amp_per_sample;
  }
}

// Slow swell, softened further by a one-pole low-pass on each side.
void RenderPad(const Note& note, StereoBuffer& out) {
  constexpr double kAttack = 0.9;
  constexpr double kRelease = 1.6;
  constexpr double kDetune = 0.004;  // about seven cents either way
  const Wavetable& saw = SoftSawTable();
  const double f = Frequency(note.pitch);
  const Phase step_l = PhaseStep(f * (1.0 - kDetune), kSampleRate);
  const Phase step_r = PhaseStep(f * (1.0 + kDetune), kSampleRate);
  const auto smoothing = static_cast<float>(1.0 - std::exp(-2.0 * std::numbers::pi * 2200.0 * kDt));
  const Span span = NoteSpan(note, note.length + kRelease, out);
  // The note's place in the stereo field leans its two sides.
  const PanGains pan(note.pan * 0.5);
  Phase phase_l = 0;
  Phase phase_r = 0x5F000000;
  float low_l = 0;
  float low_r = 0;
  for (int64_t n = 0; n < span.count; ++n) {
    const double t = static_cast<double>(n) * kDt;
    float env = Release(t, note.length, kRelease) * note.level;
    if (t < kAttack)
      env *= static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * t / kAttack));
    low_l += smoothing * (saw.At(phase_l) - low_l);
    low_r += smoothing * (saw.At(phase_r) - low_r);
    out.left[span.first + n] += low_l * env * pan.left;
    out.right[span.first + n] += low_r * env * pan.right;
    phase_l += step_l;
    phase_r += step_r;
  }
}

void RenderLead(const Note& note, StereoBuffer& out) {
  constexpr double kAttack = 0.06;
  constexpr double kRelease = 0.18;
  constexpr double kVibratoRate = 5.2;
  constexpr double kVibratoDepth = 0.0035;
  constexpr double kVibratoDelay = 0.35;
  const Wavetable& round = RoundTable();
  const Wavetable& sine = SineTable();
  const double step = PhaseStep(Frequency(note.pitch), kSampleRate);
  const Phase vibrato_step = PhaseStep(kVibratoRate, kSampleRate);
  const Span span = NoteSpan(note, note.length + kRelease, out);
  const PanGains pan(note.pan);
  Phase phase = 0;
  Phase vibrato = 0;
  for (int64_t n = 0; n < span.count; ++n) {
    const double t = static_cast<double>(n) * kDt;
    const double depth = kVibratoDepth * std::clamp((t - kVibratoDelay) / 0.4, 0.0, 1.0);
    float v = round.At(phase) * Release(t, note.length, kRelease) * note.level;
    if (t < kAttack)
      v *= static_cast<float>(t / kAttack);
    out.left[span.first + n] += v * pan.left;
    out.right[span.first + n] += v * pan.right;
    phase += static_cast<Phase>(step * (1.0 + depth * sine.At(vibrato)));
    vibrato += vibrato_step;
  }
}

void RenderBass(const Note& note, StereoBuffer& out) {
  constexpr double kAttack = 0.008;
  constexpr double kRelease = 0.09;
  constexpr double kDecay = 1.4;
  const Wavetable& round = RoundTable();
  const Phase step = PhaseStep(Frequency(note.pitch), kSampleRate);
  const auto amp_per_sample = static_cast<float>(std::exp(-kDt / kDecay));
  const Span span = NoteSpan(note, note.length + kRelease, out);
  const PanGains pan(note.pan);
  Phase phase = 0;
  float amp = note.level;
  for (int64_t n = 0; n < span.count; ++n) {
    const double t = static_cast<double>(n) * kDt;
    float v = round.At(phase) * amp * Release(t, note.length, kRelease);
    if (t < kAttack)
      v *= static_cast<float>(t / kAttack);
    out.left[span.first + n] += v * pan.left;
    out.right[span.first + n] += v * pan.right;
    phase += step;
    amp *= amp_per_sample;
  }
}

}  // namespace

void RenderNote(const Note& note, StereoBuffer& out) {
  switch (note.instrument) {
    case Instrument::kPluck:
      return RenderPluck(note, out);
    case Instrument::kBell:
      return RenderFm(note, kBellVoice, out);
    case Instrument::kEPiano:
      return RenderFm(note, kEPianoVoice, out);
    case Instrument::kPad:
      return RenderPad(note, out);
    case Instrument::kLead:
      return RenderLead(note, out);
    case Instrument::kBass:
      return RenderBass(note, out);
  }
}

}  // namespace zcd::demo_gen
