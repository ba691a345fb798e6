// Counting the lines that use each name over a comic of 200,000 command
// lines, beside walking the same lines and telling their kinds apart in the
// same run. Argument 0 is the comic the check shares (a variable in every
// tenth line), 1 the comic whose messages embed a variable in every sixth;
// vs_walk is the count's CPU time as a multiple of the walk's.
#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/name_references.h"
#include "generated_comic.h"
#include "platform/scripted_prompter.h"

#include <benchmark/benchmark.h>
#include <ctime>
#include <memory>

namespace {

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

const pagora::TComicFileCtrl& generatedComic(int which) {
    static pagora::ScriptedPrompter prompter;
    static std::unique_ptr<pagora::TComicFileCtrl> comics[2];
    std::unique_ptr<pagora::TComicFileCtrl>& comic = comics[which];
    if (!comic) {
        comic = std::make_unique<pagora::TComicFileCtrl>(prompter);
        comic->LoadFromBytes(which == 0 ? pagora::bench::generateReferencingComic()
                                        : pagora::bench::generateComic(20, 100, 100));
    }
    return *comic;
}

// CPU seconds of reading every command line and telling its kind.
double walkSeconds(const pagora::TComicFileCtrl& comic) {
    const double start = cpuSeconds();
    int kinds = 0;
    for (const std::string& book : comic.GetBookList())
        for (const std::string& page : comic.GetPageList(book))
            for (const std::string_view line : comic.PeekCommands(book, page))
                kinds += static_cast<int>(pagora::TCmdCtrl::GetCommandKind(line));
    benchmark::DoNotOptimize(kinds);
    return cpuSeconds() - start;
}

void BaselineWalkLines(benchmark::State& state) {
    const pagora::TComicFileCtrl& comic = generatedComic(static_cast<int>(state.range(0)));
    for (auto _ : state)
        walkSeconds(comic);
}
BENCHMARK(BaselineWalkLines)->ArgName("comic")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Each iteration also walks the lines outside the timing, so that vs_walk
// compares the two under the same conditions of the machine.
void CountVariableReferences(benchmark::State& state) {
    const pagora::TComicFileCtrl& comic = generatedComic(static_cast<int>(state.range(0)));
    double counting = 0;
    double walking = 0;
    int uses = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        const pagora::ReferenceCounts counts = pagora::countReferences(comic);
        uses = counts.lines(pagora::NameKind::NumericVariable, "count");
        benchmark::DoNotOptimize(uses);
        counting += cpuSeconds() - start;
        state.PauseTiming();
        walking += walkSeconds(comic);
        state.ResumeTiming();
    }
    state.counters["lines_using_count"] = uses;
    state.counters["vs_walk"] = counting / walking;
}
BENCHMARK(CountVariableReferences)->ArgName("comic")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
