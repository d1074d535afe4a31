#include "search/byte_finder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace tyld::search {
namespace {

std::size_t Reference(const std::vector<std::uint8_t>& data, const std::vector<std::uint8_t>& pat,
                      std::size_t from) {
  if (pat.empty() || from > data.size()) return ByteFinder::npos;
  const auto it = std::search(data.begin() + static_cast<std::ptrdiff_t>(from), data.end(),
                              pat.begin(), pat.end());
  return it == data.end() ? ByteFinder::npos : static_cast<std::size_t>(it - data.begin());
}

// Every occurrence from every start, on small alphabets so matches, near-misses and
// matches that touch the end of the data (the vector loop's tail) are frequent, and
// the memchr prefilter hands over to the two-byte filter.
TEST(ByteFinder, AgreesWithPlainSearch) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    const int alphabet = 1 + static_cast<int>(rng() % 3);
    auto byte = [&] { return static_cast<std::uint8_t>(rng() % alphabet == 0 ? 0x00 : 0x41 + rng() % alphabet); };
    std::vector<std::uint8_t> data(rng() % 300);
    std::vector<std::uint8_t> pat(1 + rng() % 9);
    for (auto& b : data) b = byte();
    for (auto& b : pat) b = byte();
    const ByteFinder finder(pat);
    for (std::size_t from = 0; from <= data.size() + 1; ++from) {
      ASSERT_EQ(finder.Find(data, from), Reference(data, pat, from)) << "round " << round;
    }
  }
}

TEST(ByteFinder, EmptyPatternAndShortData) {
  const std::vector<std::uint8_t> data = {1, 2, 3};
  EXPECT_EQ(ByteFinder({}).Find(data, 0), ByteFinder::npos);
  const std::vector<std::uint8_t> longer = {1, 2, 3, 4};
  EXPECT_EQ(ByteFinder(longer).Find(data, 0), ByteFinder::npos);
  EXPECT_EQ(ByteFinder(data).Find(data, 0), 0u);
}

}  // namespace
}  // namespace tyld::search
