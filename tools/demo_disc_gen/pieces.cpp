#include "tools/demo_disc_gen/pieces.h"

#include <vector>

#include "tools/demo_disc_gen/disc_plan.h"

namespace zcd::demo_gen {
namespace {

using enum Instrument;

std::vector<PieceStyle> MakePieces() {
  std::vector<PieceStyle> pieces(kAudioTracks.size());

  PieceStyle& low_tide = pieces[0];  // D major, slow: a flute-like tune over a rippling string
  low_tide = {.seed = 0x10F7,
              .tonic = 62,
              .scale = kMajor,
              .tempo = 72,
              .beats_per_bar = 4,
              .verse = {0, 5, 3, 4, 0, 5, 4, 0},
              .bridge = {3, 0, 3, 4, 5, 3, 1, 4},
              .melody = kLead,
              .bridge_melody = kEPiano,
              .comping = Comping::kPluckArpeggio,
              .pad = true,
              .bass = BassLine::kHeldRoot,
              .reverb = 0.35f};

  PieceStyle& gulls = pieces[1];  // G major, brisk: plucked tune over a strummed folk pattern
  gulls = {.seed = 0x6A11,
           .tonic = 67,
           .scale = kMajor,
           .tempo = 112,
           .beats_per_bar = 4,
           .verse = {0, 3, 0, 4, 0, 3, 4, 0},
           .bridge = {5, 3, 0, 4, 5, 3, 1, 4},
           .melody = kPluck,
           .bridge_melody = kLead,
           .comping = Comping::kPluckStrum,
           .bass = BassLine::kRootFifth,
           .reverb = 0.25f};

  PieceStyle& ferry = pieces[2];  // A minor, walking bass under an electric piano
  ferry = {.seed = 0xFE77,
           .tonic = 57,
           .scale = kMinor,
           .tempo = 88,
           .beats_per_bar = 4,
           .verse = {0, 5, 2, 6, 0, 5, 6, 0},
           .bridge = {3, 0, 3, 4, 5, 6, 2, 4},
           .melody = kEPiano,
           .bridge_melody = kBell,
           .pad = true,
           .bass = BassLine::kWalking,
           .reverb = 0.3f};

  PieceStyle& bell_buoy = pieces[3];  // four seconds of bells rolled slowly
  bell_buoy = {.seed = 0xB0E7,
               .tonic = 64,
               .scale = kMajor,
               .tempo = 60,
               .beats_per_bar = 3,
               .verse = {0, 4},
               .bridge = {0, 4},
               .melody = kBell,
               .bridge_melody = kBell,
               .comping = Comping::kBellChords,
               .reverb = 0.45f,
               .final_roll = 0.7};

  PieceStyle& fog = pieces[4];  // C dorian, very slow: a long-breathed tune, bells far off
  fog = {.seed = 0xF065,
         .tonic = 60,
         .scale = kDorian,
         .tempo = 58,
         .beats_per_bar = 4,
         .verse = {0, 3, 0, 6, 0, 3, 6, 0},
         .bridge = {5, 3, 6, 4, 5, 3, 1, 4},
         .melody = kLead,
         .bridge_melody = kLead,
         .comping = Comping::kBellChords,
         .pad = true,
         .bass = BassLine::kHeldRoot,
         .reverb = 0.5f};

  PieceStyle& rope = pieces[5];  // F mixolydian, bouncy: plucked tune, piano chords, walking bass
  rope = {.seed = 0x20BE,
          .tonic = 65,
          .scale = kMixolydian,
          .tempo = 100,
          .beats_per_bar = 4,
          .verse = {0, 6, 3, 0, 0, 6, 4, 0},
          .bridge = {3, 6, 0, 4, 3, 6, 1, 4},
          .melody = kPluck,
          .bridge_melody = kEPiano,
          .comping = Comping::kEPianoChords,
          .bass = BassLine::kWalking,
          .reverb = 0.25f};

  PieceStyle& keeper = pieces[6];  // E flat major, calm: bell tune over strings and a pad
  keeper = {.seed = 0x4EE9,
            .tonic = 63,
            .scale = kMajor,
            .tempo = 76,
            .beats_per_bar = 4,
            .verse = {0, 2, 3, 4, 0, 2, 4, 0},
            .bridge = {5, 2, 3, 0, 5, 2, 1, 4},
            .melody = kBell,
            .bridge_melody = kLead,
            .comping = Comping::kPluckArpeggio,
            .pad = true,
            .bass = BassLine::kRootFifth,
            .reverb = 0.4f};

  PieceStyle& waltz = pieces[7];  // B flat major in three
  waltz = {.seed = 0x3A17,
           .tonic = 58,
           .scale = kMajor,
           .tempo = 144,
           .beats_per_bar = 3,
           .verse = {0, 0, 4, 4, 4, 4, 0, 0},
           .bridge = {3, 3, 0, 0, 1, 4, 0, 4},
           .melody = kLead,
           .bridge_melody = kBell,
           .comping = Comping::kWaltz,
           .bass = BassLine::kWaltz,
           .reverb = 0.3f};

  PieceStyle& harbour = pieces[8];  // D major, the whole band
  harbour = {.seed = 0x4A2B,
             .tonic = 62,
             .scale = kMajor,
             .tempo = 84,
             .beats_per_bar = 4,
             .verse = {0, 4, 5, 3, 0, 4, 3, 0},
             .bridge = {3, 4, 2, 5, 3, 4, 1, 4},
             .melody = kEPiano,
             .bridge_melody = kBell,
             .comping = Comping::kPluckArpeggio,
             .pad = true,
             .bass = BassLine::kWalking,
             .reverb = 0.35f};
  return pieces;
}

}  // namespace

const PieceStyle& PieceFor(size_t track) {
  static const std::vector<PieceStyle> pieces = MakePieces();
  return pieces.at(track);
}

}  // namespace zcd::demo_gen
