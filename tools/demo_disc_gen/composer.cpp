#include "tools/demo_disc_gen/composer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "tools/demo_disc_gen/random.h"

namespace zcd::demo_gen {
namespace {

constexpr double kLeadIn = 0.3;   // seconds before the first note
constexpr double kClosing = 3.5;  // seconds the closing chord rings at least
constexpr int kLowestDegree = 0;  // the melody's range, in scale degrees above the tonic
constexpr int kHighestDegree = 11;
constexpr int kHomeDegree = 7;  // the tonic an octave up, where melodies come to rest

struct MelodyNote {
  double beat = 0;  // from the start of the phrase
  double beats = 1;
  int degree = 0;
  bool rest = false;
};
using Phrase = std::vector<MelodyNote>;

int FloorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int DegreePitch(const PieceStyle& style, int degree) {
  const int octave = FloorDiv(degree, 7);
  return style.tonic + 12 * octave + style.scale[static_cast<size_t>(degree - 7 * octave)];
}

bool IsChordTone(int degree, int chord) {
  const int interval = ((degree - chord) % 7 + 7) % 7;
  return interval == 0 || interval == 2 || interval == 4;
}

// The chord's root, third and fifth, each moved by octaves to lie within
// half an octave of `center`, lowest first: neighbouring chords then share
// notes or move by small steps.
std::array<int, 3> Voicing(const PieceStyle& style, int chord, int center) {
  std::array<int, 3> pitches{};
  for (int k = 0; k < 3; ++k) {
    int pitch = DegreePitch(style, chord + 2 * k);
    pitch += 12 * FloorDiv(center + 6 - pitch, 12);
    if (pitch >= center + 6)
      pitch -= 12;
    pitches[static_cast<size_t>(k)] = pitch;
  }
  std::sort(pitches.begin(), pitches.end());
  return pitches;
}

// Low roots sit in one octave so the bass line never jumps far.
int BassPitch(const PieceStyle& style, int degree) {
  return 36 + (DegreePitch(style, degree) - 36 + 120) % 12;
}

// Rhythms of one bar, in beats.
const std::vector<std::vector<double>>& Cells(int beats_per_bar) {
  static const std::vector<std::vector<double>> kFour{
      {2, 2}, {1, 1, 2}, {1.5, 0.5, 2},    {1, 1, 1, 1},
      {3, 1}, {2, 1, 1}, {1, 0.5, 0.5, 2}, {0.5, 0.5, 1, 2}};
  static const std::vector<std::vector<double>> kThree{
      {2, 1}, {1, 1, 1}, {1.5, 0.5, 1}, {1, 2}, {0.5, 0.5, 1, 1}};
  return beats_per_bar == 3 ? kThree : kFour;
}

// A phrase's last bar: a short note leading to a long one.
std::vector<double> EndingCell(int beats_per_bar) {
  return {1.0, static_cast<double>(beats_per_bar - 1)};
}

int NearestChordTone(int degree, int chord, Random& random) {
  int best = degree;
  int second = degree;
  for (int d = kLowestDegree, best_gap = 99, second_gap = 99; d <= kHighestDegree; ++d) {
    if (!IsChordTone(d, chord))
      continue;
    const int gap = std::abs(d - degree);
    if (gap < best_gap) {
      second = best;
      second_gap = best_gap;
      best = d;
      best_gap = gap;
    } else if (gap < second_gap) {
      second = d;
      second_gap = gap;
    }
  }
  return random.Chance(0.3) ? second : best;
}

// Mostly steps, sometimes a skip, more often towards `target` than away.
int Step(int degree, int target, Random& random) {
  int step = random.Chance(0.25) ? 2 : 1;
  const bool up = degree == target ? random.Chance(0.5) : (target > degree) == random.Chance(0.7);
  step = up ? step : -step;
  const int next = degree + step;
  return next < kLowestDegree || next > kHighestDegree ? degree - step : next;
}

// Where a phrase's melody heads in each bar: up from the middle of the range
// and back, an arch over the whole phrase.
int ContourTarget(size_t bar, size_t bars) {
  const double x = (static_cast<double>(bar) + 0.5) / static_cast<double>(bars);
  return 4 + static_cast<int>(std::lround(5.0 * std::sin(std::numbers::pi * x)));
}

Phrase MakePhrase(const std::vector<int>& chords, int beats_per_bar, uint64_t seed) {
  Random random(seed);
  Phrase phrase;
  int degree = 4;
  const size_t half = chords.size() / 2;
  for (size_t bar = 0; bar < chords.size(); ++bar) {
    const double bar_beat = static_cast<double>(bar * static_cast<size_t>(beats_per_bar));
    // The second half answers the first: it starts the same way while the
    // chords agree, and finds its own way home in the last two bars.
    if (chords.size() >= 8 && bar >= half && bar + 2 < chords.size() &&
        chords[bar] == chords[bar - half]) {
      const double from = bar_beat - static_cast<double>(half * static_cast<size_t>(beats_per_bar));
      const Phrase so_far = phrase;
      for (MelodyNote note : so_far) {
        if (note.beat < from || note.beat >= from + beats_per_bar)
          continue;
        note.beat += bar_beat - from;
        phrase.push_back(note);
        degree = note.degree;
      }
      continue;
    }
    const bool last = bar + 1 == chords.size();
    const auto& cells = Cells(beats_per_bar);
    const std::vector<double> cell =
        last ? EndingCell(beats_per_bar)
             : cells[static_cast<size_t>(random.Below(static_cast<int>(cells.size())))];
    double beat = bar_beat;
    for (size_t k = 0; k < cell.size(); ++k) {
      const int target = ContourTarget(bar, chords.size());
      if (k == 0)
        degree = NearestChordTone((degree + target + 1) / 2, chords[bar], random);
      else if (last && chords[bar] == 0)
        degree = std::abs(degree - kHomeDegree) <= std::abs(degree) ? kHomeDegree : 0;
      else if (last)
        degree = NearestChordTone(degree, chords[bar], random);
      else
        degree = Step(degree, target, random);
      const bool rest = k > 0 && !last && random.Chance(0.08);
      phrase.push_back({beat, cell[k], degree, rest});
      beat += cell[k];
    }
  }
  return phrase;
}

// The phrase as heard on its `time`-th return: as written, with some passing
// notes moved a step, or (on the third) as written again with a second voice.
Phrase Vary(Phrase phrase, int time, int beats_per_bar, uint64_t seed) {
  if (time % 3 != 1)
    return phrase;
  Random random(seed);
  for (size_t i = 0; i + 1 < phrase.size(); ++i) {
    MelodyNote& note = phrase[i];
    if (std::fmod(note.beat, beats_per_bar) == 0 || !random.Chance(0.3))
      continue;
    const int step = random.Chance(0.5) ? 1 : -1;
    note.degree = std::clamp(note.degree + step, kLowestDegree, kHighestDegree);
  }
  return phrase;
}

bool Rings(Instrument instrument) {
  return instrument == Instrument::kPluck || instrument == Instrument::kBell ||
         instrument == Instrument::kEPiano;
}

Instrument CompingInstrument(const PieceStyle& style) {
  switch (style.comping) {
    case Comping::kBellChords:
      return Instrument::kBell;
    case Comping::kEPianoChords:
      return Instrument::kEPiano;
    case Comping::kNone:
      return style.melody;
    default:
      return Instrument::kPluck;
  }
}

class PieceWriter {
 public:
  PieceWriter(const PieceStyle& style, std::vector<Note>& notes)
      : style_(style),
        notes_(notes),
        beat_seconds_(60.0 / style.tempo),
        random_(MixSeed(style.seed, 99)) {}

  double Seconds(double beat) const { return kLeadIn + beat * beat_seconds_; }
  double BarSeconds() const { return beat_seconds_ * style_.beats_per_bar; }

  // A played note, a little off the grid and uneven in strength.
  void Play(double start, double length, int pitch, float level, float pan, Instrument instrument) {
    start = std::max(0.0, start + 0.005 * random_.Signed());
    level *= static_cast<float>(1.0 + 0.12 * random_.Signed());
    notes_.push_back({start, length, pitch, level, pan, instrument, random_.Next()});
  }

  void Bar(int bar, int chord, int next_chord);
  void Melody(const Phrase& phrase, int first_bar, int bars, Instrument instrument,
              bool second_voice);
  void Closing(int bar, double end);

 private:
  void Comp(double beat, int chord);
  void Bass(double beat, int bar, int chord, int next_chord);

  const PieceStyle& style_;
  std::vector<Note>& notes_;
  double beat_seconds_;
  Random random_;
};

void PieceWriter::Comp(double beat, int chord) {
  const int bpb = style_.beats_per_bar;
  const std::array<int, 3> v = Voicing(style_, chord, style_.tonic - 5);
  switch (style_.comping) {
    case Comping::kNone:
      break;
    case Comping::kPluckArpeggio: {
      static constexpr int kPattern[] = {0, 1, 2, 3, 2, 1, 2, 3};
      for (int e = 0; e < bpb * 2; ++e) {
        const int i = kPattern[e % 8];
        const int pitch = i == 3 ? v[0] + 12 : v[static_cast<size_t>(i)];
        Play(Seconds(beat + 0.5 * e), 1.4, pitch, e == 0 ? 0.2f : 0.15f, 0.3f, Instrument::kPluck);
      }
      break;
    }
    case Comping::kPluckStrum: {
      static const std::vector<double> kFour{0, 1.5, 2, 3};
      static const std::vector<double> kThree{0, 1, 2};
      for (double at : bpb == 3 ? kThree : kFour)
        for (int s = 0; s < 4; ++s) {
          const int pitch = s == 3 ? v[0] + 12 : v[static_cast<size_t>(s)];
          Play(Seconds(beat + at) + 0.022 * s, beat_seconds_ * 1.2, pitch, at == 0 ? 0.12f : 0.09f,
               -0.3f, Instrument::kPluck);
        }
      break;
    }
    case Comping::kBellChords:
      for (int s = 0; s < 3; ++s)
        Play(Seconds(beat) + 0.03 * s, BarSeconds(), v[static_cast<size_t>(s)] + 12, 0.07f,
             0.4f - 0.4f * s, Instrument::kBell);
      break;
    case Comping::kEPianoChords:
      for (double at : {0.0, bpb / 2.0 + 0.5})
        for (int pitch : v)
          Play(Seconds(beat + at), beat_seconds_ * 1.2, pitch, 0.1f, 0.2f, Instrument::kEPiano);
      break;
    case Comping::kWaltz:
      for (int at = 1; at < bpb; ++at)
        for (int pitch : v)
          Play(Seconds(beat + at), beat_seconds_ * 0.7, pitch, 0.09f, 0.25f, Instrument::kPluck);
      break;
  }
  if (style_.pad) {
    const std::array<int, 3> p = Voicing(style_, chord, style_.tonic - 3);
    for (int s = 0; s < 3; ++s)
      notes_.push_back({Seconds(beat), BarSeconds() + 0.02, p[static_cast<size_t>(s)], 0.07f,
                        -0.7f + 0.7f * s, Instrument::kPad, 0});
  }
}

void PieceWriter::Bass(double beat, int bar, int chord, int next_chord) {
  const int bpb = style_.beats_per_bar;
  const double bar_s = BarSeconds();
  switch (style_.bass) {
    case BassLine::kNone:
      break;
    case BassLine::kHeldRoot:
      Play(Seconds(beat), bar_s, BassPitch(style_, chord), 0.32f, 0, Instrument::kBass);
      break;
    case BassLine::kRootFifth:
      Play(Seconds(beat), bar_s / 2, BassPitch(style_, chord), 0.3f, 0, Instrument::kBass);
      Play(Seconds(beat + bpb / 2.0), bar_s / 2, BassPitch(style_, chord + 4), 0.26f, 0,
           Instrument::kBass);
      break;
    case BassLine::kWalking: {
      // Root, third, fifth, then a step below the next root to lead into it.
      const int degrees[] = {chord, chord + 2, chord + 4, next_chord - 1};
      for (int b = 0; b < bpb; ++b)
        Play(Seconds(beat + b), beat_seconds_ * 0.9, BassPitch(style_, degrees[b % 4]),
             b == 0 ? 0.3f : 0.24f, 0, Instrument::kBass);
      break;
    }
    case BassLine::kWaltz:
      Play(Seconds(beat), beat_seconds_, BassPitch(style_, bar % 2 == 0 ? chord : chord + 4), 0.3f,
           0, Instrument::kBass);
      break;
  }
}

void PieceWriter::Bar(int bar, int chord, int next_chord) {
  const double beat = static_cast<double>(bar * style_.beats_per_bar);
  Comp(beat, chord);
  Bass(beat, bar, chord, next_chord);
}

void PieceWriter::Melody(const Phrase& phrase, int first_bar, int bars, Instrument instrument,
                         bool second_voice) {
  const double first_beat = static_cast<double>(first_bar * style_.beats_per_bar);
  const double end_beat = static_cast<double>(bars * style_.beats_per_bar);
  for (const MelodyNote& note : phrase) {
    if (note.rest || note.beat >= end_beat)
      continue;
    const double length = Rings(instrument) ? std::max(0.3, note.beats * beat_seconds_)
                                            : note.beats * beat_seconds_ * 0.92;
    const double start = Seconds(first_beat + note.beat);
    Play(start, length, DegreePitch(style_, note.degree), 0.3f, -0.1f, instrument);
    if (second_voice)
      Play(start, length, DegreePitch(style_, note.degree - 2), 0.17f, 0.35f, instrument);
  }
}

void PieceWriter::Closing(int bar, double end) {
  const double start = Seconds(static_cast<double>(bar * style_.beats_per_bar));
  const double length = std::max(0.3, end - start);
  const double roll = style_.final_roll;
  const std::array<int, 3> v = Voicing(style_, 0, style_.tonic - 5);
  for (int s = 0; s < 3; ++s)
    Play(start + roll * s, length - roll * s, v[static_cast<size_t>(s)], 0.14f, 0.3f - 0.3f * s,
         CompingInstrument(style_));
  Play(start + roll * 3, length - roll * 3, DegreePitch(style_, kHomeDegree), 0.26f, -0.1f,
       style_.melody);
  if (style_.pad)
    for (int s = 0; s < 3; ++s)
      notes_.push_back({start, length, Voicing(style_, 0, style_.tonic - 3)[static_cast<size_t>(s)],
                        0.07f, -0.7f + 0.7f * s, Instrument::kPad, 0});
  if (style_.bass != BassLine::kNone)
    Play(start, length, BassPitch(style_, 0), 0.3f, 0, Instrument::kBass);
}

}  // namespace

std::vector<Note> ComposePiece(const PieceStyle& style, double seconds) {
  std::vector<Note> notes;
  PieceWriter writer(style, notes);
  const int bars =
      std::max(0, static_cast<int>((seconds - kLeadIn - kClosing) / writer.BarSeconds()));
  const int bpb = style.beats_per_bar;
  const Phrase verse = MakePhrase(style.verse, bpb, MixSeed(style.seed, 1));
  const Phrase bridge = MakePhrase(style.bridge, bpb, MixSeed(style.seed, 2));

  int bar = 0;
  for (; bar < std::min<int>(2, bars); ++bar)
    writer.Bar(bar, style.verse[static_cast<size_t>(bar)],
               style.verse[static_cast<size_t>(bar + 1)]);

  // Verse, verse, bridge, verse, and again; a section that no longer fits
  // whole plays its first half when that fits.
  static constexpr bool kIsBridge[] = {false, false, true, false};
  int times[2] = {0, 0};
  for (int k = 0;; ++k) {
    const bool is_bridge = kIsBridge[k % 4];
    const std::vector<int>& chords = is_bridge ? style.bridge : style.verse;
    const int length = static_cast<int>(chords.size());
    int play = length;
    if (bar + play > bars)
      play = length / 2;
    if (bar + play > bars)
      break;
    int& time = times[is_bridge ? 1 : 0];
    for (int i = 0; i < play; ++i)
      writer.Bar(bar + i, chords[static_cast<size_t>(i)],
                 i + 1 < length ? chords[static_cast<size_t>(i + 1)] : 0);
    const Phrase phrase = Vary(is_bridge ? bridge : verse, time, bpb,
                               MixSeed(style.seed, 10 + static_cast<uint64_t>(k)));
    // Every other bridge leaves its first half to the chords alone.
    const bool breathe = is_bridge && time % 2 == 1;
    Phrase heard;
    for (const MelodyNote& note : phrase)
      if (!breathe || note.beat >= length / 2 * bpb)
        heard.push_back(note);
    writer.Melody(heard, bar, play, is_bridge ? style.bridge_melody : style.melody, time % 3 == 2);
    ++time;
    bar += play;
    if (play < length)
      break;
  }
  for (; bar < bars; ++bar)
    writer.Bar(bar, 0, 0);
  writer.Closing(bar, seconds);
  return notes;
}

}  // namespace zcd::demo_gen
