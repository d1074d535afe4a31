// A page turn in the viewer: the command plus a full paint of the screen (into a pixmap),
// at the start, the middle and the end of a 1 GiB document.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>

#include "document/document_buffer.h"
#include "document/startup_state.h"
#include "binary/binary_view.h"
#include "pages/page_dialogs.h"
#include "pages/screen_action.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "search/search_state.h"
#include "settings/settings_file.h"

namespace {

using tyld::binary::BinaryView;

// The benchmark's own set of what the application object owns.
struct Shared {
  tyld::settings::SettingsPaths paths;
  tyld::settings::SettingsRecord record;
  tyld::settings::LiveSettings live;
  tyld::document::StartupState startup;
  tyld::document::DocumentBuffer document;
  tyld::search::SearchStates searches;
  tyld::platform::PrinterSelection printers;
  tyld::pages::PrintingNotice notice;
  tyld::pages::Workspace workspace{paths, record, live, document, startup, searches, printers, notice};
};

BinaryView* View() {
  static BinaryView* view = [] {
    auto* shared = new Shared;  // kept with the view for the whole run
    tyld::document::DocumentBuffer& doc = shared->document;
    const std::int64_t n = std::int64_t{1} << 30;
    doc.AllocateDocument(n);
    for (std::int64_t i = 0; i < n; i += 4096) std::memset(doc.DocData.data() + i, static_cast<int>(i / 4096 % 251), 4096);
    doc.DocLength = static_cast<std::int32_t>(n);
    doc.DocName = doc.DocDisplayName = "big.bin";
    doc.AllocateHighlightMarks(n);
    shared->printers.Initialise({});
    auto* v = new BinaryView(shared->workspace);
    v->resize(1000, 900);
    v->show();
    return v;
  }();
  return view;
}

void BM_BinaryPageTurn(benchmark::State& state) {
  BinaryView* view = View();
  const int count = view->PageCount();
  // The 1-based byte position at the given percentage of the data.
  const std::int64_t position = std::max<std::int64_t>(1, (std::int64_t{1} << 30) * state.range(0) / 100);
  for (auto _ : state) {
    state.PauseTiming();
    view->JumpToPosition(position);
    benchmark::DoNotOptimize(view->viewport()->grab());
    const bool atEnd = view->CurrentPage() >= count - 1;
    state.ResumeTiming();
    view->Run(atEnd ? tyld::pages::ScreenAction::PrevPage : tyld::pages::ScreenAction::NextPage);
    benchmark::DoNotOptimize(view->viewport()->grab());
  }
  state.SetLabel("page " + std::to_string(view->CurrentPage() + 1) + " of " + std::to_string(count));
}
BENCHMARK(BM_BinaryPageTurn)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  tyld::platform::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
