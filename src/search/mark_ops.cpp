#include "search/mark_ops.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tyld::search {

void ClearMarkBits(std::span<std::uint8_t> marks, std::uint8_t bits) {
  const auto keep = static_cast<std::uint8_t>(~bits);
  std::uint8_t* m = marks.data();
  const std::size_t n = marks.size();
  std::size_t k = 0;
#if defined(__SSE2__)
  // Marks are mostly free of the bits being cleared: test 64 bytes at a time and write
  // only where needed, so the common case only reads.
  const __m128i clear = _mm_set1_epi8(static_cast<char>(bits));
  const __m128i mask = _mm_set1_epi8(static_cast<char>(keep));
  for (; k + 64 <= n; k += 64) {
    auto* at = reinterpret_cast<__m128i*>(m + k);
    const __m128i a = _mm_loadu_si128(at), b = _mm_loadu_si128(at + 1);
    const __m128i c = _mm_loadu_si128(at + 2), d = _mm_loadu_si128(at + 3);
    const __m128i any = _mm_and_si128(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d)), clear);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF) continue;
    _mm_storeu_si128(at, _mm_and_si128(a, mask));
    _mm_storeu_si128(at + 1, _mm_and_si128(b, mask));
    _mm_storeu_si128(at + 2, _mm_and_si128(c, mask));
    _mm_storeu_si128(at + 3, _mm_and_si128(d, mask));
  }
#endif
  for (; k < n; ++k) m[k] &= keep;
}

void SetValueMarks(std::span<const std::uint8_t> data, std::span<std::uint8_t> marks,
                   const std::array<std::uint8_t, 4>& values, const std::array<std::uint8_t, 4>& bits) {
  const std::size_t n = std::min(data.size(), marks.size());
  const std::uint8_t* d = data.data();
  std::uint8_t* m = marks.data();
  std::size_t k = 0;
#if defined(__SSE2__)
  __m128i value[4], bit[4];
  for (int i = 0; i < 4; ++i) {
    value[i] = _mm_set1_epi8(static_cast<char>(values[i]));
    bit[i] = _mm_set1_epi8(static_cast<char>(bits[i]));
  }
  for (; k + 16 <= n; k += 16) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + k));
    __m128i out = _mm_and_si128(_mm_cmpeq_epi8(b, value[0]), bit[0]);
    for (int i = 1; i < 4; ++i) out = _mm_or_si128(out, _mm_and_si128(_mm_cmpeq_epi8(b, value[i]), bit[i]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(m + k), out);
  }
#endif
  for (; k < n; ++k) {
    std::uint8_t out = 0;
    for (int i = 0; i < 4; ++i) out |= d[k] == values[i] ? bits[i] : 0;
    m[k] = out;
  }
  std::fill(marks.begin() + static_cast<std::ptrdiff_t>(n), marks.end(), std::uint8_t{0});
}

}  // namespace tyld::search
