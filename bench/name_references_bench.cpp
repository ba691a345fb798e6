// Counting the lines that use each name, finding a text and listing the
// references of a page over a comic of 200,000 command lines, beside walking
// the same lines and telling their kinds apart in the same run. Argument 0 is
// the comic the check shares (a variable in every tenth line, a jump in every
// twentieth), 1 the comic whose messages embed a variable in every sixth;
// vs_walk is the CPU time as a multiple of the walk's.
#include "document/cmd_ctrl.h"
#include "document/comic_editing.h"
#include "document/comic_file.h"
#include "document/comic_find.h"
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

// Runs work once per iteration; each iteration also walks the lines outside
// the timing, so that vs_walk compares the two under the same conditions of
// the machine. found is what the last run of work counted.
template <typename Work>
void timedBesideWalk(benchmark::State& state, const pagora::TComicFileCtrl& comic, Work work) {
    double working = 0;
    double walking = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        found = work();
        benchmark::DoNotOptimize(found);
        working += cpuSeconds() - start;
        state.PauseTiming();
        walking += walkSeconds(comic);
        state.ResumeTiming();
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["vs_walk"] = working / walking;
}

void CountVariableReferences(benchmark::State& state) {
    const pagora::TComicFileCtrl& comic = generatedComic(static_cast<int>(state.range(0)));
    timedBesideWalk(state, comic, [&] {
        return static_cast<std::size_t>(
            pagora::countReferences(comic).lines(pagora::NameKind::NumericVariable, "count"));
    });
}
BENCHMARK(CountVariableReferences)->ArgName("comic")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Argument 0 looks in the display texts, 1 in the raw lines; the text is in
// one line of the 200,000 ("line 123456" of a message).
void FindText(benchmark::State& state) {
    const pagora::TComicFileCtrl& comic = generatedComic(0);
    const pagora::FindOptions options{false, state.range(0) == 1};
    timedBesideWalk(state, comic,
                    [&] { return pagora::findText(comic, "LINE 123456", options).size(); });
}
BENCHMARK(FindText)->ArgName("raw")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The lines that lead to one page: 100 jumps.
void PageReferences(benchmark::State& state) {
    const pagora::TComicFileCtrl& comic = generatedComic(0);
    timedBesideWalk(state, comic, [&] {
        return pagora::findReferences(comic, {pagora::NameKind::Page, "page23", "book3"}).size();
    });
}
BENCHMARK(PageReferences)->Unit(benchmark::kMillisecond);

// A book renamed with its 500 jumps, and the step undone: both are timed.
void RenameBookWithReferences(benchmark::State& state) {
    static pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(pagora::bench::generateReferencingComic());
    pagora::TCmdCtrl syntax(prompter);
    const pagora::TreeNode book{pagora::TreeLevel::Book, "book7", {}};
    timedBesideWalk(state, comic, [&] {
        const auto renamed = pagora::renameNodeAndReferences(comic, syntax, book, "renamed",
                                                             pagora::ReferenceUpdate::Rewrite);
        comic.History().undo();
        return static_cast<std::size_t>(renamed.references.rewritten);
    });
}
BENCHMARK(RenameBookWithReferences)->Unit(benchmark::kMillisecond);

} // namespace
