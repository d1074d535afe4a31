#pragma once
// Milliseconds from a monotonic clock; views and windows that time user actions take one,
// so tests can move time on without waiting.
#include <chrono>
#include <cstdint>
#include <functional>

namespace tyld::pages {

using Clock = std::function<std::int64_t()>;

inline std::int64_t SteadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace tyld::pages
