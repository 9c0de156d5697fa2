#pragma once

#include <cstdint>
#include <optional>

#include "base/rect.h"
#include "mixer/knob_table.h"
#include "mixer/mixer_device.h"

namespace zcd {

// One knob of the mixer panel: the control it turns, its value as last
// read and the angle that shows it. A level knob's value counts from the
// control's minimum; the balance knob's value is the balance, 0..200.
// Window thread only.
class MixerKnob {
 public:
  explicit MixerKnob(const KnobLayout& layout);

  // Takes the control's description: whether it exists and its bounds.
  // The balance needs the CD volume with exactly two channels.
  void Describe(const MixerDevice& device);
  // Reads the control and, when its value changed, stores it and turns
  // the knob to it; whether it changed. A failed read keeps the value.
  bool Read(MixerDevice& device);

  // Whether a press at `at` takes this knob: on its ring, in its half.
  bool Hits(Point at) const;
  // A drag point beyond the knob's half, held at its edge.
  Point HoldInHalf(Point at) const;
  // The level value a drag point asks for, from the control's minimum.
  int64_t LevelAt(Point at) const;
  // The balance a drag point asks for; none near the centre, where the
  // direction means nothing.
  std::optional<int> BalanceAt(Point at) const;

  // The pointer sprite's top-left on the panel.
  Point PointerAt() const;
  // The two-digit number shown while the knob is turned: a level knob's
  // percent, the balance knob's distance from the centre.
  int Label() const;

  const KnobLayout& layout() const { return layout_; }
  bool available() const { return available_; }
  const MixerBounds& bounds() const { return bounds_; }
  int64_t value() const { return value_; }
  // The knob angle in degrees, start..end.
  double angle() const { return angle_; }
  bool dragging() const { return dragging_; }
  void set_dragging(bool dragging) { dragging_ = dragging; }

 private:
  bool is_balance() const { return layout_.half == KnobHalf::kWhole; }
  // Direction of a point from the centre, degrees in 0..360, y downward.
  double DirectionOf(Point at) const;
  void TurnTo(int64_t value);

  const KnobLayout& layout_;
  bool available_ = false;
  MixerBounds bounds_;
  int64_t value_ = 0;
  double angle_ = 0;
  bool dragging_ = false;
};

}  // namespace zcd
