#pragma once
// Small fixtures for the search tests: byte vectors from text and mark dumps.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tyld::search::testing {

inline std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

// Marks as one hexadecimal digit per byte ("1320"), easy to read in a failure.
inline std::string Dump(const std::vector<std::uint8_t>& marks) {
  std::string out;
  for (const auto m : marks) out += "0123456789ABCDEF"[m & 0x0F];
  return out;
}

}  // namespace tyld::search::testing
