// GetTickCount: milliseconds since the system started, in 32 bits, wrapping after about
// 49.7 days as Windows' count does.
#pragma once

#include <chrono>
#include <cstdint>

namespace velcrum {

// The monotonic clock counts from the system's start on Linux.
inline uint32_t GetTickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace velcrum
