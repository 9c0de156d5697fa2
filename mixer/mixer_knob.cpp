#include "mixer/mixer_knob.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "mixer/balance.h"

namespace zcd {
namespace {

// A press counts on the ring between these distances from the centre.
constexpr int kRingInner = 15;
constexpr int kRingOuter = 29;
// Nearer than this to the balance knob's centre a drag point is ignored.
constexpr int kBalanceDeadZone = 8;
// Where a drag beyond a knob's half is held, as rows from its centre.
constexpr int kUpperHoldRows = -2;
constexpr int kLowerHoldRows = 2;
constexpr int kBalanceHoldRows = 14;
// The balance's end stops and the band round the centre that snaps to it.
constexpr double kBalanceLowStop = 61;
constexpr double kBalanceHighStop = 298;
constexpr double kSnapFrom = 170;
constexpr double kSnapTo = 190;

constexpr double kDegree = std::numbers::pi / 180;

double Wrap(double degrees) {
  while (degrees < 0)
    degrees += 360;
  while (degrees >= 360)
    degrees -= 360;
  return degrees;
}

int DistanceSquared(Point a, Point b) {
  const int dx = a.x - b.x;
  const int dy = a.y - b.y;
  return dx * dx + dy * dy;
}

}  // namespace

MixerKnob::MixerKnob(const KnobLayout& layout) : layout_(layout) {
  TurnTo(is_balance() ? kBalanceCentre : 0);
}

void MixerKnob::Describe(const MixerDevice& device) {
  available_ =
      device.Available(layout_.control) && (!is_balance() || device.Channels(layout_.control) == 2);
  bounds_ = available_ ? device.Bounds(layout_.control) : MixerBounds{};
}

bool MixerKnob::Read(MixerDevice& device) {
  if (!available_)
    return false;
  int64_t value = 0;
  if (is_balance()) {
    const std::optional<ChannelPair> pair = device.ReadPair(layout_.control);
    if (!pair)
      return false;
    const std::optional<int> balance =
        BalanceOfChannels({pair->left - bounds_.minimum, pair->right - bounds_.minimum});
    if (!balance || *balance == 0)
      return false;
    value = *balance;
  } else {
    // Equal bounds leave nothing to turn, and the angle would divide by 0.
    if (bounds_.Span() == 0)
      return false;
    const std::optional<int64_t> read = device.Read(layout_.control);
    if (!read)
      return false;
    value = *read - bounds_.minimum;
  }
  if (value == value_)
    return false;
  TurnTo(value);
  return true;
}

void MixerKnob::TurnTo(int64_t value) {
  value_ = value;
  if (is_balance()) {
    angle_ = static_cast<int>(layout_.start + 1.2 * static_cast<double>(value));
  } else {
    const int64_t span = bounds_.Span();
    angle_ = span == 0 ? layout_.start
                       : static_cast<double>(layout_.end - layout_.start) *
                                 static_cast<double>(value) / static_cast<double>(span) +
                             layout_.start;
  }
}

bool MixerKnob::Hits(Point at) const {
  const int d2 = DistanceSquared(at, layout_.centre);
  if (d2 <= kRingInner * kRingInner || d2 >= kRingOuter * kRingOuter)
    return false;
  switch (layout_.half) {
    case KnobHalf::kUpper:
      return at.y < layout_.centre.y;
    case KnobHalf::kLower:
      return at.y > layout_.centre.y;
    case KnobHalf::kWhole:
      return true;
  }
  return false;
}

Point MixerKnob::HoldInHalf(Point at) const {
  switch (layout_.half) {
    case KnobHalf::kUpper:
      at.y = std::min(at.y, layout_.centre.y + kUpperHoldRows);
      break;
    case KnobHalf::kLower:
      at.y = std::max(at.y, layout_.centre.y + kLowerHoldRows);
      break;
    case KnobHalf::kWhole:
      at.y = std::min(at.y, layout_.centre.y + kBalanceHoldRows);
      break;
  }
  return at;
}

double MixerKnob::DirectionOf(Point at) const {
  const int dx = at.x - layout_.centre.x;
  const int dy = at.y - layout_.centre.y;
  // The small offset keeps a point straight above or below from dividing by 0.
  double p = std::atan(dy / (dx + 0.01)) / kDegree;
  if (dx < 0)
    p += 180;
  return Wrap(p);
}

int64_t MixerKnob::LevelAt(Point at) const {
  const double p = DirectionOf(at);
  const double d = std::clamp(layout_.half == KnobHalf::kUpper ? p : 180 - p,
                              static_cast<double>(layout_.start), static_cast<double>(layout_.end));
  return static_cast<int64_t>(static_cast<double>(bounds_.Span()) * (d - layout_.start) /
                              (layout_.end - layout_.start));
}

std::optional<int> MixerKnob::BalanceAt(Point at) const {
  if (DistanceSquared(at, layout_.centre) < kBalanceDeadZone * kBalanceDeadZone)
    return std::nullopt;
  double d = Wrap(DirectionOf(at) - 90);
  if (d > kSnapFrom && d < kSnapTo)
    d = 180;
  if (d <= layout_.start)
    d = kBalanceLowStop;
  if (d >= layout_.end)
    d = kBalanceHighStop;
  return static_cast<int>((d - layout_.start + 1) * kBalanceMaximum /
                          (layout_.end - layout_.start));
}

Point MixerKnob::PointerAt() const {
  double a = angle_;
  if (layout_.half == KnobHalf::kLower)
    a = 180 - angle_;
  else if (is_balance())
    a = angle_ + 90;
  a *= kDegree;
  return {static_cast<int>(layout_.pointer_x + std::trunc(layout_.pointer_rx * std::cos(a))),
          static_cast<int>(layout_.pointer_y + std::trunc(layout_.pointer_ry * std::sin(a)))};
}

int MixerKnob::Label() const {
  if (is_balance())
    return static_cast<int>(std::min<int64_t>(std::llabs(value_ - kBalanceCentre), 99));
  const int percent =
      static_cast<int>((angle_ - layout_.start + 1) * 100 / (layout_.end - layout_.start));
  return std::clamp(percent, 0, 99);
}

}  // namespace zcd
