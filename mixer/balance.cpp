#include "mixer/balance.h"

namespace zcd {

ChannelPair BalancedChannels(int64_t value, int balance) {
  if (balance >= kBalanceCentre)
    return {(kBalanceMaximum - balance) * value / 100, value};
  return {value, value * balance / 100};
}

std::optional<int> BalanceOfChannels(ChannelPair channels) {
  const auto [left, right] = channels;
  if (left == right)
    return left == 0 ? std::nullopt : std::optional<int>(kBalanceCentre);
  if (right < left)
    return static_cast<int>(right * 100 / left);
  return static_cast<int>(kBalanceMaximum - left * 100 / right);
}

}  // namespace zcd
