// Text model build over a generated Shift-JIS file: mixed kana/kanji and ASCII lines of
// varying length with CR LF, a TAB now and then.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "ascii/text_model.h"

namespace {

std::vector<std::uint8_t> MakeShiftJis(std::size_t size) {
  std::vector<std::uint8_t> d;
  d.reserve(size + 256);
  std::mt19937 rng(7);
  while (d.size() < size) {
    const int chars = 20 + static_cast<int>(rng() % 60);
    for (int i = 0; i < chars; ++i) {
      const unsigned r = rng() % 10;
      if (r < 4) {
        d.push_back(static_cast<std::uint8_t>(0x88 + rng() % 8));  // kanji rows
        d.push_back(static_cast<std::uint8_t>(0x40 + rng() % 0x3F));
      } else if (r < 5) {
        d.push_back(0x82);  // hiragana
        d.push_back(static_cast<std::uint8_t>(0x9F + rng() % 80));
      } else if (r == 5 && i % 16 == 0) {
        d.push_back('\t');
      } else {
        d.push_back(static_cast<std::uint8_t>('!' + rng() % 90));
      }
    }
    d.push_back('\r');
    d.push_back('\n');
  }
  d.resize(size);
  return d;
}

void BM_BuildTextModel(benchmark::State& state) {
  const auto doc = MakeShiftJis(static_cast<std::size_t>(state.range(0)) << 20);
  tyld::ascii::TextModelOptions o;
  o.ColourTagMode = static_cast<int>(state.range(1));
  for (auto _ : state) {
    tyld::ascii::TextModel m;
    benchmark::DoNotOptimize(tyld::ascii::BuildTextModel(m, doc, o));
    benchmark::DoNotOptimize(m.TotalRows());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(doc.size()));
}
BENCHMARK(BM_BuildTextModel)->Args({100, 0})->Args({100, 1})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
