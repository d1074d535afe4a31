#pragma once
// Exact byte-pattern finder shared by the searches. It filters candidates on two of the
// pattern's rarest-looking bytes sixteen positions at a time and confirms each candidate
// with a full compare, so long data with few matches is scanned at memory speed.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tyld::search {

class ByteFinder {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // An empty pattern finds nothing.
  explicit ByteFinder(std::span<const std::uint8_t> pattern);

  // Offset of the first occurrence that starts at or after `from`, or npos.
  [[nodiscard]] std::size_t Find(std::span<const std::uint8_t> data, std::size_t from) const;

  [[nodiscard]] std::size_t size() const { return pattern_.size(); }

 private:
  std::vector<std::uint8_t> pattern_;
  std::size_t anchor1_ = 0;  // offsets of the two filter bytes within the pattern
  std::size_t anchor2_ = 0;
};

}  // namespace tyld::search
