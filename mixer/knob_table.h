#pragma once

#include <array>

#include "base/rect.h"
#include "mixer/mixer_device.h"
#include "mixer/mixer_pieces.h"

namespace zcd {

// The five knobs, in the order a press looks for the one it hits.
enum class KnobId { kMaster, kCdVolume, kBass, kTreble, kBalance };

inline constexpr int kKnobCount = 5;

// Which part of its ring a knob answers in: the pairs share one centre, the
// upper knob taking the points above it and the lower one those below.
enum class KnobHalf { kUpper, kLower, kWhole };

// Where a knob sits on the panel and how it turns. Angles are degrees with
// y growing downward; positions are panel pixels.
struct KnobLayout {
  KnobId id;
  MixerControl control;
  KnobHalf half;
  int start;  // the knob angle at the control's minimum
  int end;    // ... and at its maximum
  Rect face;  // piece of "mixerset.bmp"
  Point face_at;
  Point centre;  // what a press and a drag are measured from
  // The pointer sprite's top-left runs along an ellipse.
  double pointer_x;
  double pointer_rx;
  double pointer_y;
  double pointer_ry;
  Point label_at;  // the tens digit; the units follow kLabelDigitStep on
};

inline constexpr int kLabelDigitStep = 6;

inline constexpr std::array<KnobLayout, kKnobCount> kKnobLayouts{{
    {KnobId::kMaster,
     MixerControl::kMaster,
     KnobHalf::kUpper,
     200,
     340,
     kMasterFacePiece,
     {0, 0},
     {27, 26},
     24,
     26,
     22.5,
     24,
     {25, 23}},
    {KnobId::kCdVolume,
     MixerControl::kCdVolume,
     KnobHalf::kLower,
     20,
     160,
     kCdVolumeFacePiece,
     {0, 28},
     {27, 26},
     24,
     25,
     21.5,
     23,
     {25, 23}},
    {KnobId::kBass,
     MixerControl::kBass,
     KnobHalf::kLower,
     20,
     160,
     kBassFacePiece,
     {71, 28},
     {98, 26},
     95,
     25,
     22.5,
     23,
     {96, 23}},
    {KnobId::kTreble,
     MixerControl::kTreble,
     KnobHalf::kUpper,
     200,
     340,
     kTrebleFacePiece,
     {71, 0},
     {98, 26},
     95,
     26,
     22.5,
     24,
     {96, 23}},
    {KnobId::kBalance,
     MixerControl::kCdVolume,
     KnobHalf::kWhole,
     60,
     300,
     kBalanceFacePiece,
     {143, 0},
     {170, 26},
     166,
     23.5,
     22.5,
     23,
     {168, 23}},
}};

constexpr const KnobLayout& LayoutOf(KnobId id) {
  return kKnobLayouts[static_cast<size_t>(id)];
}

}  // namespace zcd
