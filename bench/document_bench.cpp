// The comic document at the size of a large comic: 200,000 command lines in
// 2,000 pages. Each figure is reported beside a baseline measured in the same
// run (reading and splitting the same bytes into lines).
#include "document/comic_file.h"
#include "generated_comic.h"
#include "platform/files.h"
#include "platform/scripted_prompter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr int kBooks = 20;
constexpr int kPagesPerBook = 100;
constexpr int kLinesPerPage = 100;

const std::filesystem::path& largeComicFile() {
    static const std::filesystem::path path = [] {
        const auto file = std::filesystem::temp_directory_path() / "pagora-bench-large.csf";
        std::ofstream(file, std::ios::binary)
            << pagora::bench::generateComic(kBooks, kPagesPerBook, kLinesPerPage);
        return file;
    }();
    return path;
}

// The least any reader must do: find the line ends and copy each line out.
std::vector<std::string> splitIntoLines(const std::string& bytes) {
    std::vector<std::string> lines;
    lines.reserve(bytes.size() / 24);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.emplace_back(bytes, start, end - start);
        start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

void BaselineReadAndSplit(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::string> lines = splitIntoLines(pagora::readWholeFile(largeComicFile()));
        benchmark::DoNotOptimize(lines.data());
    }
}
BENCHMARK(BaselineReadAndSplit)->Unit(benchmark::kMillisecond);

void LoadWithIndexRebuild(benchmark::State& state) {
    pagora::ScriptedPrompter prompter;
    for (auto _ : state) {
        pagora::TComicFileCtrl comic(prompter);
        comic.LoadFromFile(largeComicFile());
        benchmark::DoNotOptimize(comic.Lines().data());
    }
}
BENCHMARK(LoadWithIndexRebuild)->Unit(benchmark::kMillisecond);

// Editing one page of the comic: the lookups after the first hit the cache.
void CommandCycleOnOnePage(benchmark::State& state) {
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(pagora::bench::generateComic(static_cast<int>(state.range(0)), 100, 100));
    for (auto _ : state) {
        comic.InsertCommand("book0", "page50", 10);
        comic.SetCommand("book0", "page50", "WaitTime 100,", 10);
        benchmark::DoNotOptimize(comic.GetCommandCount("book0", "page50"));
        benchmark::DoNotOptimize(comic.GetCommand("book0", "page50", 10));
        comic.DeleteCommand("book0", "page50", 10);
    }
    state.counters["lines"] = static_cast<double>(comic.Lines().size());
}
BENCHMARK(CommandCycleOnOnePage)->Arg(1)->Arg(kBooks)->Unit(benchmark::kMicrosecond);

void AddPage(benchmark::State& state) {
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromFile(largeComicFile());
    int added = 0;
    for (auto _ : state) {
        comic.AddPage("book10", "added" + std::to_string(added++));
    }
}
BENCHMARK(AddPage)->Unit(benchmark::kMillisecond);

void DeletePage(benchmark::State& state) {
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromFile(largeComicFile());
    int deleted = 0;
    for (auto _ : state) {
        // Pages of 100 lines, one after another, until the comic runs short.
        comic.DeletePage("book" + std::to_string(deleted / kPagesPerBook),
                         "page" + std::to_string(deleted % kPagesPerBook));
        ++deleted;
    }
}
BENCHMARK(DeletePage)->Unit(benchmark::kMillisecond)->Iterations(200);

} // namespace
