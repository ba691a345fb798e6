#pragma once

#include "player/play_event.h"

#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class PlaySession;
class SteppedClock;

// An answers file that does not read: the text names the line (UTF-8).
class AnswersError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The answers of an answers file, one a line (UTF-8): "key", "click X Y",
// "choose N" (from 1), "text …" (the rest of the line), "timeout". Blank
// lines are skipped.
std::vector<PlayAnswer> readAnswers(std::string_view utf8Text);

// An event as a trace line: "BOOK/PAGE:LINE", a tab, the event's name, a tab
// and its details (UTF-8, no line end).
std::string traceLine(const PlayEvent& event);

struct TraceOutcome {
    bool faulted = false; // a fault was reported
};

// Plays the session to its end, writing one trace line per event and per
// answer given: waits for the reader take the answers in order (a refused
// answer is traced as "ignored" and the next one tried), time passes on the
// clock (when given) as the waits and time-outs say. Play stops, with a
// "stop" line, when the answers run out at a wait or after maxEvents events.
TraceOutcome playTrace(PlaySession& session, const std::vector<PlayAnswer>& answers,
                       SteppedClock* clock, int maxEvents, std::ostream& out);

} // namespace pagora
