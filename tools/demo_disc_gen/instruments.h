#pragma once

#include <cstdint>

#include "tools/demo_disc_gen/stereo_buffer.h"

namespace zcd::demo_gen {

enum class Instrument {
  kPluck,   // a plucked string (Karplus-Strong)
  kBell,    // a struck bell: frequency modulation at an inharmonic ratio
  kEPiano,  // a soft electric piano: frequency modulation at a harmonic ratio
  kPad,     // two slightly detuned soft sawtooths spread left and right, slow to swell
  kLead,    // a rounded tone with a gentle vibrato, for melodies
  kBass,    // a round low tone that fades while it sounds
};

struct Note {
  double start = 0;   // seconds from the start of the track
  double length = 0;  // seconds until the note is let go; plucked and struck notes may ring on
  int pitch = 60;     // MIDI note number
  float level = 0.5f;
  float pan = 0;  // -1 left .. 1 right
  Instrument instrument = Instrument::kLead;
  uint64_t seed = 0;  // a plucked string's excitation
};

// Adds the note into the buffer; whatever would fall beyond its end is left out.
void RenderNote(const Note& note, StereoBuffer& out);

}  // namespace zcd::demo_gen
