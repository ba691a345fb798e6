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
#include <functional>
#include <malloc.h>
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

// The editing cycle as the editor records it, inserting a command and
// deleting it as two undo steps, with the history recording them or with a
// bound of no steps, which records nothing.
void EditingCycleInGroups(benchmark::State& state) {
    const bool recording = state.range(0) != 0;
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromFile(largeComicFile());
    if (!recording)
        comic.History().setLimits({0, 0});
    const pagora::EditPlace place{"book0", "page50", 10};
    for (auto _ : state) {
        {
            pagora::EditGroup group(comic.History(), "insert", place);
            comic.InsertCommand("book0", "page50", 10);
            comic.SetCommand("book0", "page50", "WaitTime 100,", 10);
        }
        benchmark::DoNotOptimize(comic.GetCommandCount("book0", "page50"));
        benchmark::DoNotOptimize(comic.GetCommand("book0", "page50", 10));
        pagora::EditGroup group(comic.History(), "delete", place);
        comic.DeleteCommand("book0", "page50", 10);
    }
    state.counters["steps"] = static_cast<double>(comic.History().undoCount());
}
BENCHMARK(EditingCycleInGroups)
    ->ArgName("recording")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

// Times the undo (range 0) or the redo (range 1) of one action on the large
// comic; the other half of each round is not timed.
void timeUndoOrRedo(benchmark::State& state,
                    const std::function<void(pagora::TComicFileCtrl&)>& action) {
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromFile(largeComicFile());
    {
        pagora::EditGroup group(comic.History(), "action", {});
        action(comic);
    }
    const bool timeUndo = state.range(0) == 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!timeUndo)
            comic.History().undo();
        state.ResumeTiming();
        benchmark::DoNotOptimize(timeUndo ? comic.History().undo() : comic.History().redo());
        state.PauseTiming();
        if (timeUndo)
            comic.History().redo();
        state.ResumeTiming();
    }
}

void UndoRedoDeletePage(benchmark::State& state) {
    timeUndoOrRedo(state,
                   [](pagora::TComicFileCtrl& comic) { comic.DeletePage("book3", "page50"); });
}
BENCHMARK(UndoRedoDeletePage)->ArgName("redo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A paste of 500 lines as the editor does it: a placeholder, then its text.
void UndoRedoPaste500Lines(benchmark::State& state) {
    timeUndoOrRedo(state, [](pagora::TComicFileCtrl& comic) {
        for (int line = 0; line < 500; ++line) {
            comic.InsertCommand("book3", "page50", 10 + line);
            comic.SetCommand("book3", "page50", "MsgDlg \"pasted " + std::to_string(line) + "\",",
                             10 + line);
        }
    });
}
BENCHMARK(UndoRedoPaste500Lines)->ArgName("redo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void UndoRedoDeleteBook(benchmark::State& state) {
    timeUndoOrRedo(state, [](pagora::TComicFileCtrl& comic) { comic.DeleteBook("book3"); });
}
BENCHMARK(UndoRedoDeleteBook)->ArgName("redo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The heap a full history of single-line edits takes beyond the text of its
// lines, from the allocator's own count of the bytes in use.
void HistoryOfSingleLineEdits(benchmark::State& state) {
    constexpr int kSteps = 1000;
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromFile(largeComicFile());
    for (int line = 0; line < kLinesPerPage; ++line) // short lines, no heap of their own
        comic.SetCommand("book0", "page50", "// short", line);
    std::size_t heap = 0;
    for (auto _ : state) {
        comic.History().clear();
        const std::size_t before = mallinfo2().uordblks;
        for (int step = 0; step < kSteps; ++step) {
            const int line = step % kLinesPerPage;
            pagora::EditGroup group(comic.History(), "edit", {"book0", "page50", line});
            comic.SetCommand("book0", "page50", "WaitTime " + std::to_string(step) + ",", line);
        }
        heap = mallinfo2().uordblks - before;
    }
    const auto recorded = comic.History().recordedBytes();
    state.counters["steps"] = static_cast<double>(comic.History().undoCount());
    state.counters["heapBytes"] = static_cast<double>(heap);
    state.counters["lineBytes"] = static_cast<double>(recorded);
    state.counters["beyondLines"] = static_cast<double>(heap - recorded);
}
BENCHMARK(HistoryOfSingleLineEdits)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
