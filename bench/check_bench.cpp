// The error check of a large comic (200,000 lines, 20,000 file references to
// 2,000 files, 10,000 jumps) beside loading the same comic in the same run.
#include "check/error_check.h"
#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/flag_ctrl.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kBooks = 20;
constexpr int kPagesPerBook = 100;
constexpr int kLinesPerPage = 100;
constexpr int kDistinctFiles = 2000;

std::string commandLine(int line) {
    const std::string file = "pict\\f" + std::to_string(line % kDistinctFiles);
    if (line % 10 == 0)
        return "Graphic \"" + file + ".bmp\",0,0,0,1,\"None\",0,0,0,";
    if (line % 20 == 5) {
        const int target = line / 20;
        return "PageJump \"book" + std::to_string(target % kBooks) + "\",\"page" +
               std::to_string(target % kPagesPerBook) + "\",0,";
    }
    if (line % 10 == 3)
        return "ValueCtrl \"%count%\",1,\"%count%\",\"1\",";
    return "MsgDlg \"line " + std::to_string(line) + "\",0,\"KeyWait\",\"Normal\",0,0,1,\"/WIN:1\"";
}

// The comic and its 2,000 pictures in a folder of their own, made once.
const std::filesystem::path& comicFile() {
    static const std::filesystem::path file = [] {
        const auto folder = std::filesystem::temp_directory_path() / "pagora-bench-check";
        std::filesystem::create_directories(folder / "data" / "pict");
        for (int i = 0; i < kDistinctFiles; ++i)
            std::ofstream(folder / "data" / "pict" / ("f" + std::to_string(i) + ".bmp"));
        std::string text = "<Head=\"Comic\">\r\nStartBook=book0\r\nStartPage=page0\r\n"
                           "DataDirectory=data\r\nMciMusic=Sequencer\r\nMciSound=WaveAudio\r\n"
                           "<Head End>\r\n";
        int line = 0;
        for (int book = 0; book < kBooks; ++book) {
            text += "<Book=\"book" + std::to_string(book) + "\">\r\n";
            for (int page = 0; page < kPagesPerBook; ++page) {
                text += "<Page=\"page" + std::to_string(page) + "\">\r\n";
                for (int i = 0; i < kLinesPerPage; ++i)
                    text += commandLine(line++) + "\r\n";
                text += "<Page End>\r\n";
            }
            text += "<Book End>\r\n";
        }
        text += "<Head=\"ValueFlag\">\r\ncount=0\r\n<Head End>\r\n";
        std::ofstream(folder / "comic.csf", std::ios::binary) << text;
        return folder / "comic.csf";
    }();
    return file;
}

void BaselineLoadComic(benchmark::State& state) {
    pagora::ScriptedPrompter prompter;
    for (auto _ : state) {
        pagora::TComicFileCtrl comic(prompter);
        comic.LoadFromFile(comicFile());
        benchmark::DoNotOptimize(comic.LineCount());
    }
}
BENCHMARK(BaselineLoadComic)->Unit(benchmark::kMillisecond);

void CheckWholeComic(benchmark::State& state) {
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromFile(comicFile());
    pagora::SystemClock clock;
    pagora::SystemRandom random;
    pagora::TFlagCtrl flags(comic, prompter, clock, random);
    flags.LoadFlags();
    pagora::TCmdCtrl syntax(prompter);
    pagora::TErrorCheck check(comic, syntax, flags, prompter);
    for (auto _ : state) {
        check.Initialize(comicFile().parent_path());
        check.CheckAll();
        benchmark::DoNotOptimize(check.ErrorCount);
    }
    state.counters["findings"] = check.ErrorCount;
}
BENCHMARK(CheckWholeComic)->Unit(benchmark::kMillisecond);

} // namespace
