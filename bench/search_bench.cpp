// Search speed over large data. The data is made in memory with a fixed seed: printable
// text lines (like the files people print) with a handful of planted occurrences.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "search/byte_finder.h"
#include "search/byte_search.h"
#include "search/sequence_search.h"
#include "search/string_search.h"

namespace {

using tyld::search::ByteFinder;

constexpr std::size_t kGiB = std::size_t{1} << 30;
constexpr std::size_t kText = 100u * 1000 * 1000;
const std::uint8_t kPattern[] = {0x5A, 0x51, 0x7E, 0x23, 0x01, 0x4C};  // "ZQ~#\x01L"

// Text lines of 60..100 printable characters; `planted` copies of the pattern spread over it.
std::vector<std::uint8_t> MakeText(std::size_t size, int planted) {
  std::vector<std::uint8_t> data(size);
  std::mt19937_64 rng(42);
  std::size_t line = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (line == 0) line = 60 + rng() % 40;
    if (--line == 0) {
      data[i] = '\n';
    } else {
      const auto r = rng();
      data[i] = static_cast<std::uint8_t>(r % 5 == 0 ? ' ' : 'a' + (r >> 8) % 26);
    }
  }
  for (int k = 0; k < planted; ++k) {
    const std::size_t at = (size / static_cast<std::size_t>(planted + 1)) * static_cast<std::size_t>(k + 1);
    std::memcpy(data.data() + at, kPattern, sizeof kPattern);
  }
  return data;
}

const std::vector<std::uint8_t>& Gib() {
  static const auto data = MakeText(kGiB, 10);
  return data;
}

void BM_SequenceSearch1GiB(benchmark::State& st) {
  const auto& data = Gib();
  std::vector<std::uint8_t> marks(data.size() + 1);
  tyld::search::SequenceSearchState state;
  state.PatternLength = sizeof kPattern;
  std::copy(std::begin(kPattern), std::end(kPattern), state.PatternByte.begin());
  for (auto _ : st) {
    benchmark::DoNotOptimize(tyld::search::RunSequenceSearch(data, marks, state));
  }
  st.counters["found"] = state.ResultCount();
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * data.size()));
}
BENCHMARK(BM_SequenceSearch1GiB)->Unit(benchmark::kMillisecond)->Iterations(5);

// The finder alone against the standard library's Boyer-Moore-Horspool, for comparison.
void BM_Finder1GiB(benchmark::State& st) {
  const auto& data = Gib();
  const ByteFinder finder(kPattern);
  std::size_t found = 0;
  for (auto _ : st) {
    found = 0;
    for (auto p = finder.Find(data, 0); p != ByteFinder::npos; p = finder.Find(data, p + 1)) ++found;
  }
  st.counters["found"] = static_cast<double>(found);
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * data.size()));
}
BENCHMARK(BM_Finder1GiB)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StdHorspool1GiB(benchmark::State& st) {
  const auto& data = Gib();
  const std::boyer_moore_horspool_searcher searcher(std::begin(kPattern), std::end(kPattern));
  std::size_t found = 0;
  for (auto _ : st) {
    found = 0;
    for (auto it = std::search(data.begin(), data.end(), searcher); it != data.end();
         it = std::search(it + 1, data.end(), searcher)) {
      ++found;
    }
  }
  st.counters["found"] = static_cast<double>(found);
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * data.size()));
}
BENCHMARK(BM_StdHorspool1GiB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ByteSearchFourValues1GiB(benchmark::State& st) {
  const auto& data = Gib();
  std::vector<std::uint8_t> marks(data.size() + 1);
  tyld::search::ByteSearchState state;
  state.SearchByte = {'e', ' ', '\n', 0x01};
  state.ByteColour = {1, 2, 3, 4};
  state.ByteSearchActive = 1;
  for (auto _ : st) {
    tyld::search::MatchBytes(data, marks, state);
    benchmark::ClobberMemory();
  }
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * data.size()));
}
BENCHMARK(BM_ByteSearchFourValues1GiB)->Unit(benchmark::kMillisecond)->Iterations(5);

// Four strings of everyday words over 100 MB of text: many matches, all marked.
void BM_StringSearch100MB(benchmark::State& st) {
  const auto text = MakeText(kText, 10);
  std::vector<std::uint8_t> marks(text.size() + 1);
  tyld::search::StringSearchState state;
  const tyld::search::StringSearchRequest request{{"abc", "q", "zz z", "ZQ~#"}, {1, 2, 3, 4}};
  tyld::search::ConfirmStringSearch(request, state);
  for (auto _ : st) {
    tyld::search::MatchStrings(text, marks, state);
    benchmark::ClobberMemory();
  }
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * text.size()));
}
BENCHMARK(BM_StringSearch100MB)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

// `tyld_search_bench --write-data FILE` writes the 1 GiB data to FILE and exits, so that
// other tools (grep -c -F) can be timed on the very same bytes and pattern.
int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write-data") == 0) {
    const auto& data = Gib();
    std::FILE* f = std::fopen(argv[2], "wb");
    const bool ok = f != nullptr && std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (f != nullptr && std::fclose(f) != 0) return 1;
    return ok ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
