// The error check of a large comic (200,000 lines, 20,000 references to 2,000
// pictures, 10,000 jumps) beside loading the same comic in the same run. The
// arguments are the number of files in the picture folder and how many of the
// 2,000 pictures are missing from it; vs_load is the check's CPU time as a
// multiple of the load's.
#include "check/error_check.h"
#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/flag_ctrl.h"
#include "generated_comic.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "support/temp_folder.h"

#include <benchmark/benchmark.h>
#include <ctime>
#include <map>
#include <memory>
#include <utility>

namespace {

// A comic and its picture folder, written once per run and removed at exit.
class CheckedComic {
public:
    CheckedComic(int folderFiles, int missing)
        : file_(pagora::bench::writeReferencingComic(folder_.path(), folderFiles, missing, {})) {}
    const std::filesystem::path& file() const { return file_; }

private:
    pagora::test::TempFolder folder_;
    std::filesystem::path file_;
};

const CheckedComic& checkedComic(int folderFiles, int missing) {
    static std::map<std::pair<int, int>, std::unique_ptr<CheckedComic>> comics;
    std::unique_ptr<CheckedComic>& comic = comics[{folderFiles, missing}];
    if (!comic)
        comic = std::make_unique<CheckedComic>(folderFiles, missing);
    return *comic;
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// CPU seconds of loading a comic.
double loadSeconds(const std::filesystem::path& file, pagora::Prompter& prompter) {
    const double start = cpuSeconds();
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromFile(file);
    benchmark::DoNotOptimize(comic.LineCount());
    return cpuSeconds() - start;
}

void BaselineLoadComic(benchmark::State& state) {
    const std::filesystem::path& file = checkedComic(pagora::bench::kReferencedPictures, 0).file();
    pagora::ScriptedPrompter prompter;
    for (auto _ : state)
        loadSeconds(file, prompter);
}
BENCHMARK(BaselineLoadComic)->Unit(benchmark::kMillisecond);

// Each iteration also loads the comic outside the timing, so that vs_load
// compares the two under the same conditions of the machine.
void CheckWholeComic(benchmark::State& state) {
    const std::filesystem::path& file =
        checkedComic(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))).file();
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromFile(file);
    pagora::SystemClock clock;
    pagora::SystemRandom random;
    pagora::TFlagCtrl flags(comic, prompter, clock, random);
    flags.LoadFlags();
    pagora::TCmdCtrl syntax(prompter);
    pagora::TErrorCheck check(comic, syntax, flags, prompter);
    double checking = 0;
    double loading = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        check.Initialize(file.parent_path());
        check.CheckAll();
        benchmark::DoNotOptimize(check.ErrorCount);
        checking += cpuSeconds() - start;
        state.PauseTiming();
        loading += loadSeconds(file, prompter);
        state.ResumeTiming();
    }
    state.counters["findings"] = check.ErrorCount;
    state.counters["vs_load"] = checking / loading;
}
// Files in the picture folder, pictures missing from it.
BENCHMARK(CheckWholeComic)
    ->ArgNames({"files", "missing"})
    ->Args({2000, 0})
    ->Args({2000, 1500})
    ->Args({10000, 0})
    ->Args({10000, 1500})
    ->Unit(benchmark::kMillisecond);

} // namespace
