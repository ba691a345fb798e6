// An autosave of a comic of 200,000 command lines in 2,000 pages. What the
// user-interface thread does (the keeper's writeNow: the snapshot of the
// comic's bytes and the start of the writer) is measured beside a baseline
// from the same run, one copy of the same bytes; the worker's part, writing
// the copy atomically, is measured on its own for comparison.
#include "document/comic_file.h"
#include "editor/autosave.h"
#include "generated_comic.h"
#include "platform/files.h"
#include "platform/scripted_prompter.h"
#include "support/temp_folder.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <string>

namespace {

constexpr int kBooks = 20;
constexpr int kPagesPerBook = 100;
constexpr int kLinesPerPage = 100;

const std::string& largeComicBytes() {
    static const std::string bytes =
        pagora::bench::generateComic(kBooks, kPagesPerBook, kLinesPerPage);
    return bytes;
}

void BaselineCopyBytes(benchmark::State& state) {
    const std::string& bytes = largeComicBytes();
    for (auto _ : state) {
        std::string copy = bytes;
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BaselineCopyBytes)->Unit(benchmark::kMillisecond);

void AutosaveUserInterfaceThreadPart(benchmark::State& state) {
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(largeComicBytes());
    const pagora::test::TempFolder folder;
    pagora::AutosaveKeeper keeper(folder.path() / "autosave",
                                  [&] {
                                      return std::optional<pagora::AutosaveSnapshot>(
                                          {folder.path() / "Large.csf", comic.SaveToBytes()});
                                  },
                                  {});
    keeper.stop();
    // The copy's name and lock are taken at the first write only.
    keeper.writeNow();
    keeper.waitForWrite();
    for (auto _ : state) {
        keeper.writeNow();
        state.PauseTiming();
        keeper.waitForWrite();
        state.ResumeTiming();
    }
    state.counters["lines"] = comic.LineCount();
}
BENCHMARK(AutosaveUserInterfaceThreadPart)->Unit(benchmark::kMillisecond);

void AutosaveWorkerPart(benchmark::State& state) {
    const pagora::test::TempFolder folder;
    const std::string& bytes = largeComicBytes();
    for (auto _ : state)
        pagora::writeFileAtomically(folder.path() / "copy.autosave", bytes);
}
BENCHMARK(AutosaveWorkerPart)->Unit(benchmark::kMillisecond);

} // namespace

// The keeper is a QObject with a timer: it needs an application object.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
