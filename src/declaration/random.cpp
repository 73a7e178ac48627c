#include "declaration/random.h"

namespace kx::declaration {

int64_t Random::between(int64_t lo, int64_t hi) {
  const uint64_t range = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) + 1;
  if (range == 0) return static_cast<int64_t>(engine_());  // the whole 64-bit range
  const uint64_t limit = UINT64_MAX - UINT64_MAX % range;  // draws at or above it are biased
  uint64_t draw;
  do draw = engine_();
  while (draw >= limit);
  return static_cast<int64_t>(static_cast<uint64_t>(lo) + draw % range);
}

std::string Random::digits(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += static_cast<char>('0' + between(0, 9));
  return out;
}

}  // namespace kx::declaration
