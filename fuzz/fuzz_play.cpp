// Plays arbitrary bytes as a comic with arbitrary answers, the two parts cut
// at the first NUL byte. Play must end or stop within its event bound, every
// trace line must name its place, event and details, and every answer the
// trace shows must read back as the answer that was given, so that a trace's
// answers can be played again.
#include "document/comic_file.h"
#include "fuzz_support.h"
#include "platform/scripted_prompter.h"
#include "player/play_clock.h"
#include "player/play_session.h"
#include "player/play_trace.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kMaxEvents = 300;

bool sameAnswer(const pagora::PlayAnswer& left, const pagora::PlayAnswer& right) {
    return left.kind == right.kind && left.x == right.x && left.y == right.y &&
           left.choice == right.choice && left.text == right.text;
}

// The fields of a trace line: place, event, details.
std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (int field = 0; field < 2; ++field) {
        const std::size_t tab = line.find('\t', start);
        pagora::fuzz::require(tab != std::string::npos);
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> parts =
        pagora::fuzz::splitInput(pagora::fuzz::asText(data, size), '\0', 2);
    std::vector<pagora::PlayAnswer> answers;
    try {
        answers = pagora::readAnswers(parts.size() > 1 ? parts[1] : std::string_view());
    } catch (const pagora::AnswersError&) {
        return 0;
    }
    pagora::ScriptedPrompter prompter;
    pagora::TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(parts[0]);
    pagora::SteppedClock clock(pagora::LocalTime{2026, 12, 8, 10, 0, 0, 2});
    pagora::SeededRandom random(1);
    pagora::PlaySession session(comic, clock, random);
    session.startAtStartPage();
    std::ostringstream out;
    pagora::playTrace(session, answers, &clock, kMaxEvents, out);

    std::istringstream trace(out.str());
    std::size_t nextAnswer = 0;
    std::string last;
    int lines = 0;
    for (std::string line; std::getline(trace, line); ++lines) {
        const std::vector<std::string> fields = fieldsOf(line);
        pagora::fuzz::require(!fields[0].empty() && !fields[1].empty());
        if (fields[1] == "answer" || fields[1] == "ignored") {
            pagora::fuzz::require(nextAnswer < answers.size());
            const std::vector<pagora::PlayAnswer> again = pagora::readAnswers(fields[2]);
            pagora::fuzz::require(again.size() == 1 &&
                                  sameAnswer(again.front(), answers[nextAnswer]));
            ++nextAnswer;
        }
        last = fields[1];
    }
    // One line per event and per answer at most, and the last says why play is over.
    pagora::fuzz::require(lines <= kMaxEvents + 1 + static_cast<int>(answers.size()));
    pagora::fuzz::require(last == "end" || last == "stop");
    return 0;
}
