#include "player/play_trace.h"

#include "document/cmd_ctrl.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/message_line.h"
#include "platform/numbers.h"
#include "player/play_clock.h"
#include "player/play_meanings.h"
#include "player/play_session.h"

#include <algorithm>
#include <ostream>
#include <sstream>

namespace pagora {
namespace {

// A text of the comic as printable UTF-8.
std::string shown(std::string_view cp932) {
    return escapeControls(toUtf8(cp932));
}

std::string rect(const PlayRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// The options a waiting or showing event carries, only where set.
std::string placing(const PlayRect& pos, int fontSize, std::uint32_t color) {
    std::string text;
    if (pos != PlayRect{})
        text += " pos=" + rect(pos);
    if (fontSize > 0)
        text += " size=" + std::to_string(fontSize);
    if (color != kDefaultOptionColor)
        text += " color=" + TCmdCtrl::ColorText(color);
    return text;
}

std::string limitText(const TimeLimit& limit) {
    if (limit.seconds <= 0)
        return {};
    return " time=" + std::to_string(limit.seconds) + (limit.gauge ? " gauge" : " no-gauge");
}

std::string flag(bool on, std::string_view word) {
    return on ? " " + std::string(word) : std::string();
}

std::string areaText(int window, const PlayArea& area) {
    std::string text = "win=" + std::to_string(window) + " pos=" + rect(area.rect) + " -> " +
                       shown(area.book) + "/" + shown(area.page);
    if (!area.imageFile.empty())
        text += " image=" + shown(area.imageFile) + " parts=" + std::to_string(area.imageDivision);
    return text + flag(area.clearOnSelect, "clear") + flag(!area.cursorChange, "no-cursor") +
           flag(area.callSubroutine, "call");
}

std::string_view scopeText(DataScope scope) {
    switch (scope) {
    case DataScope::All:
        return "all";
    case DataScope::Value:
        return "value";
    case DataScope::String:
        return "string";
    }
    return {};
}

struct Traced {
    std::string_view name;
    std::string details;
};

struct Describe {
    Traced operator()(const MessageShown& e) const {
        std::string text =
            "win=" + std::to_string(e.window) +
            " mode=" + std::string(kModeMeanings[static_cast<std::size_t>(e.mode)].keyword) +
            " speed=" + std::string(kSpeedMeanings[static_cast<std::size_t>(e.speed)].keyword) +
            (e.drawNormal ? " normal" : " temporary") + flag(e.keyWaitEachLine, "key-each-line") +
            flag(e.keyWaitAfter, "key-after") + flag(e.clickAbleEnabled, "areas") +
            placing(e.pos, e.fontSize, e.color) + limitText(e.limit);
        return {"message", text + " | " + shown(e.text)};
    }
    Traced operator()(const PictureShown& e) const {
        std::string text = "win=" + std::to_string(e.window) + " file=" + shown(e.file) +
                           " effect=" + std::string(effectMeaning(e.effect).keyword);
        if (e.pos != PlayRect{})
            text += " pos=" + rect(e.pos);
        if (e.viewLeft != 0 || e.viewTop != 0)
            text += " view=" + std::to_string(e.viewLeft) + "," + std::to_string(e.viewTop);
        if (e.useTransparent)
            text += " transparent=" +
                    (e.autoTransparentColor ? "auto" : TCmdCtrl::ColorText(e.transparentColor));
        return {"picture", text + flag(e.fitToPos, "fit") + flag(e.halfTransparent, "half") +
                               flag(!e.showAtOnce, "later")};
    }
    Traced operator()(const MusicStarted& e) const {
        return {"music", shown(e.file) + " loop=" + std::to_string(e.loopCount)};
    }
    Traced operator()(const MusicStopped&) const { return {"music-stop", ""}; }
    Traced operator()(const SoundStarted& e) const {
        return {"sound", shown(e.file) + (e.waitEnd ? " wait" : "")};
    }
    Traced operator()(const TimePassing& e) const {
        return {"wait", std::to_string(e.milliseconds) + " ms"};
    }
    Traced operator()(const ClickWaited& e) const {
        return {"click-wait", (e.areasOnly ? "areas-only" : "anywhere") + limitText(e.limit)};
    }
    Traced operator()(const ChoicesOffered& e) const {
        std::string text = "win=" + std::to_string(e.window) + placing(e.pos, e.fontSize, e.color) +
                           limitText(e.limit);
        for (std::size_t at = 0; at < e.choices.size(); ++at)
            text += " | " + std::to_string(at + 1) + " " + shown(e.choices[at].text) + " -> " +
                    shown(e.choices[at].page);
        return {"choices", text};
    }
    Traced operator()(const TextAsked& e) const {
        return {"input", "title=" + shown(e.title) + " var=" + shown(e.variable) +
                             limitText(e.limit) + " | " + shown(e.prompt)};
    }
    Traced operator()(const WindowShown& e) const {
        return {"window", "win=" + std::to_string(e.window) + (e.shown ? " show" : " hide")};
    }
    Traced operator()(const AreaAdded& e) const { return {"area", areaText(e.window, e.area)}; }
    Traced operator()(const AreaSelected& e) const {
        return {"area-selected", areaText(e.window, e.area)};
    }
    Traced operator()(const AreasCleared& e) const {
        return {"areas-cleared", "win=" + std::to_string(e.window)};
    }
    Traced operator()(const MenuCalled& e) const { return {"menu", shown(e.operation)}; }
    Traced operator()(const SaveNameSet& e) const { return {"save-name", shown(e.name)}; }
    Traced operator()(const DataSaved& e) const {
        return {"save", std::string(scopeText(e.scope)) + " " + shown(e.name)};
    }
    Traced operator()(const DataLoaded& e) const {
        return {"load", std::string(scopeText(e.scope)) + " " + shown(e.name) +
                            (e.found ? "" : " (nothing saved)")};
    }
    Traced operator()(const PlayFault& e) const {
        return {e.level == FaultLevel::Fault ? "fault" : "warning", shown(e.message)};
    }
    Traced operator()(const PlayEnded& e) const {
        return {"end", e.reason == EndReason::PageEnd ? "page end" : "fault"};
    }
};

std::string placeText(const PlayPlace& place) {
    return shown(place.book) + "/" + shown(place.page) + ":" + std::to_string(place.line);
}

std::string line(const PlayPlace& place, std::string_view name, std::string_view details) {
    return placeText(place) + "\t" + std::string(name) + "\t" + std::string(details);
}

std::string answerText(const PlayAnswer& answer) {
    switch (answer.kind) {
    case PlayAnswer::Kind::Key:
        return "key";
    case PlayAnswer::Kind::Click:
        return "click " + std::to_string(answer.x) + " " + std::to_string(answer.y);
    case PlayAnswer::Kind::Choice:
        return "choose " + std::to_string(answer.choice + 1);
    case PlayAnswer::Kind::Text:
        return "text " + shown(answer.text);
    case PlayAnswer::Kind::Timeout:
        return "timeout";
    }
    return {};
}

std::string_view awaited(const PlayDetail& detail) {
    if (std::holds_alternative<ChoicesOffered>(detail))
        return "waiting for a choice";
    if (std::holds_alternative<TextAsked>(detail))
        return "waiting for a text";
    if (std::holds_alternative<ClickWaited>(detail))
        return "waiting for a click";
    return "waiting for a key";
}

// How long the clock moves for an event that lets time pass, or for a time-out.
std::int64_t passingMs(const PlayEvent& event, const PlayAnswer* answer) {
    if (const auto* wait = std::get_if<TimePassing>(&event.detail))
        return wait->milliseconds > 0 ? wait->milliseconds : 0;
    if (!answer || answer->kind != PlayAnswer::Kind::Timeout)
        return 0;
    std::int64_t seconds = 0;
    std::visit(
        [&](const auto& waited) {
            if constexpr (requires { waited.limit; })
                seconds = waited.limit.seconds;
        },
        event.detail);
    return seconds * 1000;
}

PlayAnswer readAnswer(std::string_view text, int lineNumber) {
    std::istringstream words{std::string(text)};
    std::string word;
    words >> word;
    const auto fail = [&]() -> AnswersError {
        return AnswersError("answers line " + std::to_string(lineNumber) + ": " +
                            std::string(text));
    };
    const auto number = [&]() {
        std::string token;
        words >> token;
        const std::optional<int> value = parseInt(token);
        if (!value)
            throw fail();
        return *value;
    };
    const auto nothingMore = [&](PlayAnswer answer) {
        std::string rest;
        if (words >> rest)
            throw fail();
        return answer;
    };
    if (word == "key")
        return nothingMore(PlayAnswer::key());
    if (word == "timeout")
        return nothingMore(PlayAnswer::timeout());
    if (word == "click") {
        const int x = number();
        return nothingMore(PlayAnswer::click(x, number()));
    }
    if (word == "choose") {
        const int choice = number();
        if (choice < 1)
            throw fail();
        return nothingMore(PlayAnswer::choose(choice - 1));
    }
    if (word == "text") {
        const std::size_t start = text.find("text") + 5;
        const std::string_view typed = start <= text.size() ? text.substr(start) : "";
        // A text box takes no control characters; the trace could not show
        // them as they were typed either.
        if (std::any_of(typed.begin(), typed.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }))
            throw fail();
        try {
            return PlayAnswer::typed(toCp932(typed));
        } catch (const EncodingError& error) {
            throw AnswersError(fail().what() + std::string(" (") + error.what() + ")");
        }
    }
    throw fail();
}

} // namespace

std::vector<PlayAnswer> readAnswers(std::string_view utf8Text) {
    std::vector<PlayAnswer> answers;
    int lineNumber = 0;
    while (!utf8Text.empty()) {
        const std::size_t end = utf8Text.find('\n');
        std::string_view text = utf8Text.substr(0, end);
        utf8Text.remove_prefix(end == std::string_view::npos ? utf8Text.size() : end + 1);
        ++lineNumber;
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        if (text.find_first_not_of(" \t") != std::string_view::npos)
            answers.push_back(readAnswer(text, lineNumber));
    }
    return answers;
}

std::string traceLine(const PlayEvent& event) {
    const Traced traced = std::visit(Describe{}, event.detail);
    return line(event.place, traced.name, traced.details);
}

TraceOutcome playTrace(PlaySession& session, const std::vector<PlayAnswer>& answers,
                       SteppedClock* clock, int maxEvents, std::ostream& out) {
    std::size_t nextAnswer = 0;
    for (int events = 0;; ++events) {
        if (events == maxEvents) {
            out << line(session.place(), "stop", "after " + std::to_string(maxEvents) + " events")
                << '\n';
            break;
        }
        const PlayEvent event = session.next();
        out << traceLine(event) << '\n';
        if (std::holds_alternative<PlayEnded>(event.detail))
            break;
        const PlayAnswer* given = nullptr;
        while (event.wait == PlayWait::Reader && !given) {
            if (nextAnswer == answers.size()) {
                out << line(event.place, "stop", awaited(event.detail)) << '\n';
                return {session.faulted()};
            }
            const PlayAnswer& answer = answers[nextAnswer++];
            const bool taken = session.answer(answer);
            out << line(event.place, taken ? "answer" : "ignored", answerText(answer)) << '\n';
            if (taken)
                given = &answer;
        }
        if (clock)
            clock->advance(passingMs(event, given));
    }
    return {session.faulted()};
}

} // namespace pagora
