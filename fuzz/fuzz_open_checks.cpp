// Opens arbitrary bytes as the editor opens a comic: the reader with its
// structure index, the checks after opening and the variable table. Layout:
// one byte with the answers to the Abort/Ignore questions (bit 0 the first,
// bit 1 the second), then the comic bytes.
//
// A broken structure is told once, at the line it stops at; every page listed
// can be read line by line; what is saved loads back to the same structure;
// a discarded file becomes the new comic; the variable table holds what the
// header says, and the text check agrees with the expansion.
#include "document/comic_file.h"
#include "document/comic_rules.h"
#include "document/flag_ctrl.h"
#include "fuzz_support.h"
#include "platform/numbers.h"
#include "platform/scripted_prompter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using pagora::fuzz::require;

// Lines expanded per input; the rest repeat the same paths.
constexpr int kMostExpandedLines = 256;
constexpr std::string_view kUserName = "Fuzz";

using Structure = std::vector<std::pair<std::string, std::vector<std::string>>>;

Structure structureOf(pagora::TComicFileCtrl& comic) {
    Structure structure;
    for (const std::string& book : comic.GetBookList())
        structure.emplace_back(book, comic.GetPageList(book));
    return structure;
}

int countAbortIgnore(const pagora::ScriptedPrompter& prompter) {
    int count = 0;
    for (const auto& record : prompter.records())
        count += record.buttons == pagora::Buttons::AbortIgnore;
    return count;
}

void checkLoaded(pagora::TComicFileCtrl& comic, const pagora::ScriptedPrompter& prompter) {
    const auto& problem = comic.LastStructureProblem();
    const std::vector<std::string> messages = prompter.messages();
    if (!problem) {
        require(messages.empty());
        return;
    }
    require(messages.size() == 1 && messages[0] == problem->message);
    require(problem->line >= 0 && problem->line < comic.LineCount());
}

void checkPages(pagora::TComicFileCtrl& comic, const Structure& structure) {
    for (const auto& [book, pages] : structure) {
        require(comic.BookExists(book));
        for (const std::string& page : pages) {
            require(comic.PageExists(book, page));
            const std::vector<std::string_view> lines = comic.PeekCommands(book, page);
            const int count = comic.GetCommandCount(book, page);
            require(count >= 0 && static_cast<std::size_t>(count) == lines.size());
            for (int index = 0; index < count; ++index)
                require(comic.GetCommand(book, page, index) ==
                        lines[static_cast<std::size_t>(index)]);
            require(comic.GetCommand(book, page, count).empty());
        }
    }
}

void checkRoundTrip(pagora::TComicFileCtrl& comic, const Structure& structure) {
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl reloaded(prompter);
    reloaded.LoadFromBytes(comic.SaveToBytes());
    require(reloaded.Lines() == comic.Lines());
    require(reloaded.LastStructureProblem() == comic.LastStructureProblem());
    require(structureOf(reloaded) == structure);
}

// The questions asked match the header, and a discarded file is the new comic.
void checkOpening(pagora::TComicFileCtrl& comic, pagora::ScriptedPrompter& prompter,
                  unsigned answers) {
    const bool foreignType =
        comic.ReadHeader("Comic", "FileType", pagora::kFileType) != pagora::kFileType;
    const bool newerVersion =
        pagora::lenientInt(comic.ReadHeader("Comic", "CmdVer", "15")) > pagora::kCommandVersion;
    const std::vector<std::string> before = comic.Lines();
    prompter.clear();
    prompter.queueAnswer(answers & 1 ? pagora::Answer::Abort : pagora::Answer::Ignore);
    prompter.queueAnswer(answers & 2 ? pagora::Answer::Abort : pagora::Answer::Ignore);
    const pagora::OpenVerdict verdict = pagora::CheckOpenedComic(comic, prompter, kUserName);

    const bool abortFirst = foreignType && (answers & 1);
    const int expectedQuestions = (foreignType ? 1 : 0) + (newerVersion && !abortFirst ? 1 : 0);
    require(countAbortIgnore(prompter) == expectedQuestions);
    const bool discarded = abortFirst || (newerVersion && (answers & (foreignType ? 2 : 1)));
    require((verdict == pagora::OpenVerdict::Discarded) == discarded);
    if (!discarded) {
        require(comic.Lines() == before);
        return;
    }
    pagora::ScriptedPrompter quiet;
    pagora::TComicFileCtrl fresh(quiet);
    pagora::StartNewComic(fresh, kUserName);
    require(comic.Lines() == fresh.Lines());
}

void checkFlags(pagora::TComicFileCtrl& comic, const Structure& structure) {
    pagora::ScriptedPrompter prompter;
    pagora::fuzz::FixedClock clock;
    pagora::fuzz::FixedRandom random;
    pagora::TFlagCtrl flags(comic, prompter, clock, random);
    flags.LoadFlags();
    for (const pagora::TValueFlag& flag : flags.ValueFlags) {
        require(flag.Value == pagora::lenientInt(comic.ReadHeader("ValueFlag", flag.Name, ""), 0));
        if (flag.Name.empty() || flag.Name[0] != '@')
            require(flags.GetValueFlag(flag.Name) == flag.Value);
    }
    for (const pagora::TStringFlag& flag : flags.StringFlags) {
        require(flag.Value == comic.ReadHeader("StringFlag", flag.Name, ""));
        if (flag.Name.empty() || flag.Name[0] != '@')
            require(flags.GetStringFlag(flag.Name) == flag.Value);
    }
    int expanded = 0;
    for (const auto& [book, pages] : structure)
        for (const std::string& page : pages)
            for (const std::string_view line : comic.PeekCommands(book, page)) {
                if (++expanded > kMostExpandedLines)
                    return;
                const std::string text(line);
                require(flags.CheckText(text) == !flags.ExpandText(text).Error);
            }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const unsigned answers = data[0];
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    pagora::SetEditorFileHead(comic);
    comic.LoadFromBytes(pagora::fuzz::asText(data + 1, size - 1));
    checkLoaded(comic, prompter);
    checkOpening(comic, prompter, answers);
    const Structure structure = structureOf(comic);
    checkPages(comic, structure);
    checkRoundTrip(comic, structure);
    checkFlags(comic, structure);
    return 0;
}
