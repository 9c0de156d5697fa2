#pragma once

#include <optional>

#include "mixer/mixer_device.h"

namespace zcd {

// The balance runs from 0 (left only) to 200 (right only).
inline constexpr int kBalanceCentre = 100;
inline constexpr int kBalanceMaximum = 200;

// The CD volume `value` spread over left and right: the side the balance
// leans away from is turned down, the other keeps the value.
ChannelPair BalancedChannels(int64_t value, int balance);

// The balance two channels show: none when both are silent, since silence
// says nothing about where the sound would be. A silent right channel gives
// 0, which callers keep from replacing a known balance.
std::optional<int> BalanceOfChannels(ChannelPair channels);

}  // namespace zcd
