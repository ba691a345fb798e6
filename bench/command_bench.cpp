// Command lines: the display text of a mix of every kind, and the expansion
// of variables in message texts, each beside splitting the same bytes on
// commas in the same run.
#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/flag_ctrl.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

// A 5,000-line page: the kinds in the proportions a comic has them.
const std::vector<std::string>& pageLines() {
    static const std::vector<std::string> lines = [] {
        const std::string mix[] = {
            pagora::toCp932("MsgDlg \"「こんにちは、&名前&さん」#今日は%回数%回目の訪問です。\",0,"
                            "\"Char-KeyWait\",\"Normal\",0,1,1,\"/WIN:1\""),
            pagora::toCp932(
                "MsgDlg \"丘の上には小さな家があります。\",0,\"KeyWait\",\"Normal\",0,0,1,"
                "\"/IF:%鍵%==1\",\"/WIN:1\""),
            "Graphic \"pict\\\\scene.bmp\",0,0,1,1,\"FadeIn\",0,0,0,\"/POS:0,0,639,479\"",
            "Music \"theme.mid\",0,",
            "Sound \"chime.wav\",1,",
            "MusicStop",
            "WaitTime 1500,",
            pagora::toCp932("FlagCtrl \"%鍵%\",0,"),
            pagora::toCp932(
                "SelectDlg \"はい\",\"$次$\",\"いいえ\",\"$前$\",\"/TIME:20\",\"/WIN:2\""),
            pagora::toCp932("PageJump \"第一章\",\"玄関\",0,"),
            "MouseClick 0,\"/TIME:10\"",
            pagora::toCp932("ValueCtrl \"%回数%\",1,\"%回数%\",\"1\","),
            pagora::toCp932("StringCtrl \"$天気$\",\"ぽかぽか\","),
            pagora::toCp932(
                "ClickAble \"第二章\",\"おわり\",\"button.bmp\",2,1,1,0,\"/POS:12,14,108,46\","
                "\"/WIN:3\""),
            "ClickAbleClear ,\"/WIN:3\"",
            pagora::toCp932("StrInput \"お名前\",\"名前を入力\",\"$名前$\","),
            "WindowShow 1,\"/WIN:1\"",
            pagora::toCp932("System \"Call\",\"第二章\",\"おまけ\",\"/IF:%鍵%==1\""),
            pagora::toCp932("// コメント"),
        };
        std::vector<std::string> page;
        for (int i = 0; i < 5000; ++i)
            page.push_back(mix[static_cast<std::size_t>(i) % std::size(mix)]);
        return page;
    }();
    return lines;
}

std::size_t totalBytes(const std::vector<std::string>& lines) {
    std::size_t bytes = 0;
    for (const std::string& line : lines)
        bytes += line.size();
    return bytes;
}

// The least any reader must do: look at every byte and cut at commas.
void BaselineSplitOnCommas(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t fields = 0;
        for (const std::string& line : pageLines()) {
            std::size_t start = 0, comma;
            while ((comma = line.find(',', start)) != std::string::npos) {
                benchmark::DoNotOptimize(line.substr(start, comma - start));
                start = comma + 1;
                ++fields;
            }
        }
        benchmark::DoNotOptimize(fields);
    }
    state.SetItemsProcessed(state.iterations() * 5000);
    state.SetBytesProcessed(state.iterations() * static_cast<long>(totalBytes(pageLines())));
}
BENCHMARK(BaselineSplitOnCommas)->Unit(benchmark::kMillisecond);

// The command list of one 5,000-line page (goal: under 5 ms).
void CommandListOfAPage(benchmark::State& state) {
    pagora::ScriptedPrompter prompter;
    pagora::TCmdCtrl syntax(prompter);
    for (auto _ : state)
        for (const std::string& line : pageLines())
            benchmark::DoNotOptimize(syntax.MakeCmdRef(line));
    state.SetItemsProcessed(state.iterations() * 5000);
    state.SetBytesProcessed(state.iterations() * static_cast<long>(totalBytes(pageLines())));
}
BENCHMARK(CommandListOfAPage)->Unit(benchmark::kMillisecond);

void ExpandMessageTexts(benchmark::State& state) {
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(pagora::toCp932("<Head=\"ValueFlag\">\r\n回数=3\r\n鍵=0\r\n<Head End>\r\n"
                                        "<Head=\"StringFlag\">\r\n名前=花子\r\n<Head End>\r\n"));
    pagora::SystemClock clock;
    pagora::SystemRandom random;
    pagora::TFlagCtrl flags(comic, prompter, clock, random);
    flags.LoadFlags();
    pagora::TCmdCtrl syntax(prompter);
    std::vector<std::string> texts;
    for (const std::string& line : pageLines())
        if (pagora::TCmdCtrl::GetCommandKind(line) == pagora::CmdKind::MsgDlg)
            texts.push_back(syntax.ParseMsgDlg(line).Text);
    for (auto _ : state)
        for (const std::string& text : texts)
            benchmark::DoNotOptimize(flags.ExpandText(text));
    state.SetItemsProcessed(state.iterations() * static_cast<long>(texts.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(totalBytes(texts)));
}
BENCHMARK(ExpandMessageTexts)->Unit(benchmark::kMicrosecond);

} // namespace
