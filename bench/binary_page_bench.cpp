// Drawing one dump page costs the same at the first and the last page of a 1 GB span:
// the span is reserved address space where only the drawn pages are readable, so the
// painter provably touches nothing else.
#include <benchmark/benchmark.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

#include "binary/binary_layout.h"
#include "binary/page_painter.h"
#include "platform/canvas.h"
#include "platform/recording_canvas.h"

namespace {

using namespace tyld;

// Counts calls only, so the benchmark measures the painter rather than the recorder.
class NullCanvas final : public platform::Canvas {
 public:
  explicit NullCanvas(platform::DeviceMetrics caps) : caps_(caps) {}
  [[nodiscard]] platform::DeviceMetrics Device() const override { return caps_; }
  bool SelectFont(const platform::FontDescription& f) override {
    height_ = f.height < 0 ? -f.height : f.height;
    return true;
  }
  [[nodiscard]] platform::FontMetrics Metrics() const override {
    return {std::max(height_ / 2, 1), height_, height_ * 4 / 5, 0, true};
  }
  [[nodiscard]] int TextExtent(std::string_view s) const override {
    return static_cast<int>(s.size()) * std::max(height_ / 2, 1);
  }
  void PutText(int, int, std::string_view s) override { calls += s.size(); }
  void SetTextColor(platform::Colour c) override { colour_ = c; }
  [[nodiscard]] platform::Colour TextColor() const override { return colour_; }
  void Rectangle(int, int, int, int, platform::Pen, platform::Brush) override { ++calls; }
  void Line(int, int, int, int, platform::Pen) override { ++calls; }
  std::size_t calls = 0;

 private:
  platform::DeviceMetrics caps_;
  int height_ = 16;
  platform::Colour colour_ = 0;
};

constexpr platform::DeviceMetrics kPrinter{4800, 6800, 600, 600};
constexpr std::size_t kSpan = std::size_t{1} << 30;

// A 1 GB span with only its first and its last full page readable (filled with sample
// bytes); the last full page draws as many bytes as the first.
struct BigSpan {
  settings::BinaryPageFormat fmt;
  binary::BinaryLayout layout;
  std::uint8_t* bytes = nullptr;
  std::int64_t lastPage = 0;

  BigSpan() {
    platform::RecordingCanvas printer(kPrinter);
    layout = binary::ComputeBinaryLayout(printer, settings::FontState::DefaultLogFont(), 80,
                                         settings::Orientation::Landscape, {}, fmt);
    binary::ApplyLayoutLimits(layout, fmt);
    void* base = mmap(nullptr, kSpan, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED) return;
    bytes = static_cast<std::uint8_t*>(base);
    const binary::DumpPaging paging(static_cast<std::int64_t>(kSpan), fmt);
    lastPage = static_cast<std::int64_t>(kSpan) / paging.BytesPerPage() - 1;
    Open(0, static_cast<std::size_t>(paging.BytesPerPage()) + 1);
    const auto first = static_cast<std::size_t>(paging.FirstOffset(lastPage)) - 2;
    Open(first, static_cast<std::size_t>(paging.BytesPerPage()) + 3);
  }
  ~BigSpan() {
    if (bytes) munmap(bytes, kSpan);
  }
  void Open(std::size_t from, std::size_t n) {
    const auto pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t start = from / pageSize * pageSize;
    mprotect(bytes + start, from + n - start, PROT_READ | PROT_WRITE);
    for (std::size_t i = from; i < from + n; ++i)
      bytes[i] = static_cast<std::uint8_t>(i % 7 == 0 ? 0x82 : 0x20 + i % 95);
  }
};

BigSpan& Span() {
  static BigSpan span;
  return span;
}

// Draws page 0 (range 0) or the last full page (range 1) onto a fresh canvas each time.
template <class CanvasT>
void BM_DrawPage(benchmark::State& state) {
  BigSpan& span = Span();
  if (!span.bytes) {
    state.SkipWithError("cannot reserve 1 GB of address space");
    return;
  }
  binary::PagePaint paint;
  paint.target = binary::DrawTarget::Printer;
  paint.binFont = settings::FontState::DefaultLogFont();
  paint.page = state.range(0) ? span.lastPage : 0;
  paint.pageNumber = static_cast<int>(paint.page + 1);
  paint.footerName = "big.bin";
  const binary::DumpSource source{{span.bytes, kSpan}, {}, "big.bin"};
  for (auto _ : state) {
    CanvasT canvas(kPrinter);
    benchmark::DoNotOptimize(binary::DrawBinaryPage(canvas, span.fmt, span.layout, source, paint));
  }
  state.counters["page"] = static_cast<double>(paint.page);
  state.SetBytesProcessed(state.iterations() * binary::DumpPaging(kSpan, span.fmt).BytesPerPage());
}
BENCHMARK(BM_DrawPage<NullCanvas>)->Arg(0)->Arg(1);
BENCHMARK(BM_DrawPage<platform::RecordingCanvas>)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
