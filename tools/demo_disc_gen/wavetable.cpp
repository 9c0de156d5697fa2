#include "tools/demo_disc_gen/wavetable.h"

namespace zcd::demo_gen {

const Wavetable& SineTable() {
  static const Wavetable table = Wavetable::Harmonics(std::array<double, 1>{1.0});
  return table;
}

const Wavetable& RoundTable() {
  static const Wavetable table = Wavetable::Harmonics(std::array<double, 4>{1.0, 0.3, 0.12, 0.04});
  return table;
}

const Wavetable& SoftSawTable() {
  static const Wavetable table = [] {
    std::array<double, 12> weights{};
    for (size_t k = 0; k < weights.size(); ++k)
      weights[k] = 1.0 / std::pow(static_cast<double>(k + 1), 1.4);
    return Wavetable::Harmonics(weights);
  }();
  return table;
}

}  // namespace zcd::demo_gen
