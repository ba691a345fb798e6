#include "cli/play_command.h"

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "player/play_clock.h"
#include "player/play_session.h"
#include "player/play_trace.h"

#include <memory>

namespace pagora {
namespace {

// Events before play stops when no limit is given, so that a comic that
// waits in a loop does not run for ever.
constexpr int kDefaultMaxEvents = 100000;

int positiveNumber(const ParsedArguments& parsed, const std::string& option, int fallback,
                   int least) {
    if (!parsed.has(option))
        return fallback;
    const std::optional<int> number = parseInt(parsed.value(option, ""));
    if (!number || *number < least)
        throw UsageError(option + " needs a number of at least " + std::to_string(least));
    return *number;
}

std::vector<PlayAnswer> answersOf(const ParsedArguments& parsed) {
    if (!parsed.has("--answers"))
        return {};
    try {
        return readAnswers(readWholeFile(parsed.value("--answers", "")));
    } catch (const AnswersError& error) {
        throw UsageError(error.what());
    }
}

std::unique_ptr<Clock> clockOf(const ParsedArguments& parsed, SteppedClock*& stepped) {
    stepped = nullptr;
    if (!parsed.has("--clock"))
        return std::make_unique<SystemClock>();
    const std::optional<LocalTime> start = parseLocalTime(parsed.value("--clock", ""));
    if (!start)
        throw UsageError("--clock needs a time like 2026-12-08T10:00:00");
    auto clock = std::make_unique<SteppedClock>(*start);
    stepped = clock.get();
    return clock;
}

std::unique_ptr<RandomSource> randomOf(const ParsedArguments& parsed) {
    if (!parsed.has("--seed"))
        return std::make_unique<SystemRandom>();
    return std::make_unique<SeededRandom>(
        static_cast<std::uint32_t>(positiveNumber(parsed, "--seed", 0, 0)));
}

} // namespace

int runPlay(const ParsedArguments& parsed, CliContext& context) {
    const int maxEvents = positiveNumber(parsed, "--max-events", kDefaultMaxEvents, 1);
    const std::vector<PlayAnswer> answers = answersOf(parsed);
    SteppedClock* stepped = nullptr;
    const std::unique_ptr<Clock> clock = clockOf(parsed, stepped);
    const std::unique_ptr<RandomSource> random = randomOf(parsed);

    TComicFileCtrl comic(context.prompter);
    loadComicAsEditor(comic, parsed.positional[0], context);
    PlaySession session(comic, *clock, *random);
    if (parsed.has("--from")) {
        const std::vector<std::string> from = parsed.values("--from");
        const std::string book = toCp932(from[0]), page = toCp932(from[1]);
        if (!comic.PageExists(book, page))
            throw UsageError("no such book or page");
        session.start(book, page);
    } else {
        session.startAtStartPage();
    }
    const TraceOutcome outcome = playTrace(session, answers, stepped, maxEvents, context.out);
    return outcome.faulted ? kExitProblems : kExitDone;
}

} // namespace pagora
