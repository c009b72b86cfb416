#pragma once

#include <cstdint>
#include <optional>

namespace kxc2 {

// The code Windows reports for a process that has not ended.
inline constexpr std::uint32_t kStillActive = 259;

// Whether a polled game still runs, given the exit code read (nothing when it
// could not be read) and a test of whether the process has ended. A game may
// itself end with 259, and then only the process's own state tells.
template <typename HasEnded>
bool StillRunning(std::optional<std::uint32_t> exit_code, HasEnded has_ended) {
  if (exit_code && *exit_code != kStillActive) return false;
  return !has_ended();
}

}  // namespace kxc2
