#include "search/byte_finder.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tyld::search {
namespace {

// Rough commonness of a byte in files people print: text, Shift-JIS and binary records.
// Only the order matters; it steers the filter away from bytes that match everywhere.
int Commonness(std::uint8_t b) {
  if (b == 0x00 || b == 0x20) return 9;
  if (b == 0xFF) return 7;
  if (b >= 'a' && b <= 'z') return 6;
  if ((b >= '0' && b <= '9') || b == '\r' || b == '\n') return 5;
  if (b >= 'A' && b <= 'Z') return 4;
  if (b >= 0x81 && b <= 0x9F) return 4;  // Shift-JIS lead bytes
  if (b < 0x20) return 2;
  return 3;
}

bool MatchesAt(const std::uint8_t* at, const std::vector<std::uint8_t>& pattern) {
  return std::memcmp(at, pattern.data(), pattern.size()) == 0;
}

}  // namespace

ByteFinder::ByteFinder(std::span<const std::uint8_t> pattern)
    : pattern_(pattern.begin(), pattern.end()) {
  if (pattern_.size() < 2) return;
  // The rarest byte first; then the rarest byte that differs from it, so a run like
  // 00 00 does not filter on the same byte twice. Ties go to the later position.
  for (std::size_t i = 0; i < pattern_.size(); ++i) {
    if (Commonness(pattern_[i]) <= Commonness(pattern_[anchor1_])) anchor1_ = i;
  }
  anchor2_ = anchor1_ == 0 ? pattern_.size() - 1 : 0;
  bool differs = pattern_[anchor2_] != pattern_[anchor1_];
  for (std::size_t i = 0; i < pattern_.size(); ++i) {
    if (i == anchor1_) continue;
    const bool d = pattern_[i] != pattern_[anchor1_];
    if ((d && !differs) ||
        (d == differs && Commonness(pattern_[i]) < Commonness(pattern_[anchor2_]))) {
      anchor2_ = i;
      differs = d;
    }
  }
}

std::size_t ByteFinder::Find(std::span<const std::uint8_t> data, std::size_t from) const {
  const std::size_t n = pattern_.size();
  if (n == 0 || from > data.size() || data.size() - from < n) return npos;
  const std::uint8_t* base = data.data();
  if (n == 1) {
    const void* hit = std::memchr(base + from, pattern_[0], data.size() - from);
    return hit ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - base) : npos;
  }
  const std::size_t last = data.size() - n;  // last possible start
  std::size_t p = from;
  // First the library's memchr on the rarest byte: where that byte is rare in the data
  // this runs at memory speed. Once it stops too often (false candidates closer than
  // 64 bytes on average) the two-byte filter below takes over.
  const std::uint8_t rare = pattern_[anchor1_];
  std::size_t misses = 0;
  while (p <= last) {
    const void* hit = std::memchr(base + p + anchor1_, rare, last - p + 1);
    if (hit == nullptr) return npos;
    const std::size_t at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - base) - anchor1_;
    if (MatchesAt(base + at, pattern_)) return at;
    p = at + 1;
    if (++misses >= 16 && p - from < misses * 64) break;
  }
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi8(static_cast<char>(pattern_[anchor1_]));
  const __m128i second = _mm_set1_epi8(static_cast<char>(pattern_[anchor2_]));
  // Sixteen candidate starts p..p+15 at a time; all of them end inside the data.
  while (p <= last && last - p >= 15) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + p + anchor1_));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + p + anchor2_));
    unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
    while (mask != 0) {
      const std::size_t at = p + static_cast<std::size_t>(__builtin_ctz(mask));
      if (MatchesAt(base + at, pattern_)) return at;
      mask &= mask - 1;
    }
    p += 16;
  }
#endif
  for (; p <= last; ++p) {
    if (base[p + anchor1_] == pattern_[anchor1_] && MatchesAt(base + p, pattern_)) return p;
  }
  return npos;
}

}  // namespace tyld::search
