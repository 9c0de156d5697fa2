#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tools/demo_disc_gen/instruments.h"

namespace zcd::demo_gen {

using Scale = std::array<int, 7>;  // semitones above the tonic
inline constexpr Scale kMajor{0, 2, 4, 5, 7, 9, 11};
inline constexpr Scale kMinor{0, 2, 3, 5, 7, 8, 10};
inline constexpr Scale kDorian{0, 2, 3, 5, 7, 9, 10};
inline constexpr Scale kMixolydian{0, 2, 4, 5, 7, 9, 10};

// What plays the chords.
enum class Comping {
  kNone,
  kPluckArpeggio,  // the chord's notes one by one in eighths
  kPluckStrum,     // strummed on the beats of a folk pattern
  kBellChords,     // struck once a bar
  kEPianoChords,   // on the first beat and off the middle one
  kWaltz,          // plucked on the second and third beats
};

enum class BassLine { kNone, kHeldRoot, kRootFifth, kWalking, kWaltz };

// Everything that gives a track its character; the notes come from the seed.
struct PieceStyle {
  uint64_t seed = 0;
  int tonic = 60;  // MIDI pitch of the melody's home note
  Scale scale = kMajor;
  double tempo = 90;  // beats per minute
  int beats_per_bar = 4;
  // One chord per bar, as the scale degree of its root (0 the tonic). The
  // verse ends at home, the bridge leads back to it.
  std::vector<int> verse;
  std::vector<int> bridge;
  Instrument melody = Instrument::kLead;
  Instrument bridge_melody = Instrument::kLead;
  Comping comping = Comping::kNone;
  bool pad = false;  // slow chords under everything
  BassLine bass = BassLine::kNone;
  float reverb = 0.3f;
  double final_roll = 0.04;  // seconds between the notes of the closing chord
};

// A piece that fills `seconds`: a short introduction, the verse and the
// bridge in turn with their melodies varied on each return, the chords alone
// on the tonic for the bars left over, and a closing chord that rings to the end.
std::vector<Note> ComposePiece(const PieceStyle& style, double seconds);

}  // namespace zcd::demo_gen
