// Reproducible random choices from a seed: std::mt19937_64 with distributions of our own, so the
// same seed gives the same values with every standard library.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/decimal.h"

namespace kx::declaration {

class Random {
 public:
  explicit Random(uint64_t seed) : engine_(seed) {}

  // Uniform in lo..hi (both included; lo <= hi), without modulo bias.
  int64_t between(int64_t lo, int64_t hi);
  // True `percent` times in a hundred.
  bool chance(int percent) { return between(1, 100) <= percent; }
  // An amount of whole centavos in lo..hi reais.
  Decimal money(int64_t lo, int64_t hi) { return Decimal::raw(between(lo * 100, hi * 100), 2); }
  // `n` random decimal digits.
  std::string digits(int n);
  template <class T>
  const T& pick(const std::vector<T>& items) {
    return items[static_cast<size_t>(between(0, static_cast<int64_t>(items.size()) - 1))];
  }

 private:
  std::mt19937_64 engine_;
};

}  // namespace kx::declaration
