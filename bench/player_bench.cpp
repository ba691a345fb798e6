// The play session running lines that do not wait: variables, conditions,
// flags, texts and jumps, as a comic's logic between its waits. Reported
// beside the load baseline of document_bench.cpp (reading and splitting a
// large comic's bytes), which runs in the same executable.
#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "player/play_clock.h"
#include "player/play_session.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

// Rounds of 12 lines, then a wait and a jump back to the page's top: 2,000
// lines between waits, well below the loop limit.
constexpr int kRounds = 166;

std::string busyComic() {
    std::string body = "<Head=\"Comic\">\r\nStartBook=b\r\nStartPage=p\r\n<Head End>\r\n"
                       "<Book=\"b\">\r\n<Page=\"p\">\r\n";
    for (int round = 0; round < kRounds; ++round)
        body += "ValueCtrl \"%count%\",1,\"%count%\",\"1\",\r\n"
                "ValueCtrl \"%total%\",1,\"%total%\",\"%count%\",\r\n"
                "ValueCtrl \"%rest%\",5,\"%total%\",\"7\",\r\n"
                "FlagCtrl \"%seen%\",2,\r\n"
                "FlagCtrl \"%done%\",0,\"/IF:%rest%==3\"\r\n"
                "StringCtrl \"$name$\",\"hero\",\r\n"
                "StringCtrl \"$mood$\",\"calm\",\"/IFS:%name%<-er\"\r\n"
                "ValueCtrl \"%count%\",3,\"%count%\",\"1\",\"/IF:%seen%<>0\"\r\n"
                "// a comment between the steps\r\n"
                "PageJump \"b\",\"never\",0,\"/IF:%count%<<0\"\r\n"
                "ValueCtrl \"%rest%\",2,\"%rest%\",\"%done%\",\r\n"
                "FlagCtrl \"%done%\",1,\r\n";
    body += "WaitTime 0,\r\nPageJump \"b\",\"p\",0,\r\n<Page End>\r\n<Book End>\r\n"
            "<Head=\"ValueFlag\">\r\ncount=0\r\ntotal=0\r\nrest=0\r\nseen=0\r\ndone=0\r\n"
            "<Head End>\r\n<Head=\"StringFlag\">\r\nname=\r\nmood=\r\n<Head End>\r\n";
    return body;
}

void PlayLinesWithoutWaiting(benchmark::State& state) {
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(busyComic());
    pagora::SteppedClock clock(pagora::LocalTime{2026, 12, 8, 10, 0, 0, 2});
    pagora::SeededRandom random(1);
    pagora::PlaySession session(comic, clock, random);
    session.startAtStartPage();
    const std::int64_t linesPerWait = kRounds * 12 + 2;
    std::int64_t lines = 0;
    for (auto _ : state) {
        const pagora::PlayEvent event = session.next(); // one wait per round of the page
        benchmark::DoNotOptimize(event.wait);
        lines += linesPerWait;
    }
    if (session.faulted())
        state.SkipWithError("play reported a fault");
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(PlayLinesWithoutWaiting)->Unit(benchmark::kMicrosecond);

} // namespace
