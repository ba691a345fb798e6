#include "preview/message_reveal.h"

#include "platform/encoding.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace pagora {
namespace {

constexpr int kMsPerTenth = 100;
constexpr int kMaxPauseTenths = 20;

// The length in bytes of the character at the start of text.
std::size_t characterBytes(std::string_view text) {
    return text.size() >= 2 && isCp932LeadByte(static_cast<unsigned char>(text[0])) ? 2 : 1;
}

int countCharacters(std::string_view text) {
    int count = 0;
    for (std::size_t at = 0; at < text.size(); at += characterBytes(text.substr(at)))
        ++count;
    return count;
}

bool sameWord(std::string_view tag, std::string_view keyword) {
    return std::equal(tag.begin(), tag.end(), keyword.begin(), keyword.end(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
    });
}

std::optional<RevealMark> markOf(std::string_view tag, int atChar) {
    if (sameWord(tag, "KEY"))
        return RevealMark{atChar, RevealMark::Kind::Key, 0};
    for (std::size_t row = 0; row < kSpeedMeanings.size(); ++row)
        if (sameWord(tag, kSpeedMeanings[row].keyword))
            return RevealMark{atChar, RevealMark::Kind::Speed, static_cast<int>(row)};
    if (tag.size() >= 2 && tag.size() <= 3 && (tag[0] == 'W' || tag[0] == 'w') &&
        std::all_of(tag.begin() + 1, tag.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        const int tenths = std::stoi(std::string(tag.substr(1)));
        if (tenths >= 1 && tenths <= kMaxPauseTenths)
            return RevealMark{atChar, RevealMark::Kind::Pause, tenths * kMsPerTenth};
    }
    return std::nullopt;
}

} // namespace

std::vector<RevealMark> revealMarks(std::string_view text) {
    std::vector<RevealMark> marks;
    int chars = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == '#') {
            ++at;
            continue;
        }
        if (text[at] == '<') {
            // "<", ">" and "#" are never the second byte of a character.
            const std::size_t close = text.find_first_of("#>", at + 1);
            if (close != std::string_view::npos && text[close] == '>') {
                if (const auto mark = markOf(text.substr(at + 1, close - at - 1), chars))
                    marks.push_back(*mark);
                at = close + 1;
                continue;
            }
        }
        at += characterBytes(text.substr(at));
        ++chars;
    }
    return marks;
}

MessageReveal::MessageReveal(std::vector<MessagePiece> pieces, std::span<const RevealMark> marks,
                             const RevealPlan& plan)
    : pieces_(std::move(pieces))
    , plan_(plan) {
    for (const MessagePiece& piece : pieces_)
        lineOfChar_.insert(lineOfChar_.end(), static_cast<std::size_t>(countCharacters(piece.text)),
                           piece.line);
    measureLines();
    planSteps(marks);
}

void MessageReveal::measureLines() {
    const int lineCount = pieces_.empty() ? 0 : pieces_.back().line + 1;
    lines_.assign(static_cast<std::size_t>(lineCount), {});
    std::vector<bool> filled(lines_.size(), false);
    for (const MessagePiece& piece : pieces_) {
        LineSpan& line = lines_[static_cast<std::size_t>(piece.line)];
        line.top = filled[static_cast<std::size_t>(piece.line)] ? std::min(line.top, piece.top)
                                                                : piece.top;
        line.bottom = piece.lineBottom;
        filled[static_cast<std::size_t>(piece.line)] = true;
    }
    // An empty line lies between the lines around it.
    int edge = plan_.frameTop;
    for (std::size_t at = 0; at < lines_.size(); ++at) {
        if (!filled[at]) {
            std::size_t next = at + 1;
            while (next < lines_.size() && !filled[next])
                ++next;
            lines_[at].top = edge;
            lines_[at].bottom = next < lines_.size() ? lines_[next].top : edge;
        }
        edge = lines_[at].bottom;
    }
    // Pages: as many lines as the frame holds, at least one.
    const int height = plan_.frameBottom - plan_.frameTop;
    int page = 0;
    int pageTop = lines_.empty() ? 0 : lines_.front().top;
    for (std::size_t at = 0; at < lines_.size(); ++at) {
        if (lines_[at].bottom - pageTop > height && lines_[at].top > pageTop) {
            ++page;
            pageTop = lines_[at].top;
        }
        lines_[at].page = page;
    }
}

RevealStep& MessageReveal::stepAt(int chars) {
    if (steps_.empty() || steps_.back().chars != chars)
        steps_.push_back({chars, 0, false});
    return steps_.back();
}

void MessageReveal::planSteps(std::span<const RevealMark> marks) {
    const int total = characters();
    int speed = plan_.speed;
    std::size_t nextMark = 0;
    const auto takeMarks = [&](int at) {
        for (; nextMark < marks.size() && marks[nextMark].atChar <= at; ++nextMark) {
            const RevealMark& mark = marks[nextMark];
            if (mark.kind == RevealMark::Kind::Speed)
                speed = mark.value;
            else if (mark.kind == RevealMark::Kind::Pause)
                stepAt(at).pauseMs += mark.value;
            else
                stepAt(at).keyWait = true;
        }
    };
    const auto line = [&](int c) {
        return lineOfChar_[static_cast<std::size_t>(c)];
    };
    for (int c = 0; c < total; ++c) {
        takeMarks(c);
        if (c > 0 && line(c) != line(c - 1)) {
            const bool newPage = lines_[static_cast<std::size_t>(line(c))].page !=
                                 lines_[static_cast<std::size_t>(line(c - 1))].page;
            if ((newPage && plan_.overflow == Overflow::WaitForKey) ||
                (plan_.keyWaitEachLine && plan_.reveal != Reveal::AllAtOnce))
                stepAt(c).keyWait = true;
        }
        const bool lineEnds = c + 1 == total || line(c + 1) != line(c);
        if (plan_.reveal == Reveal::CharByChar)
            stepAt(c + 1).pauseMs += speedMeaning(speed).msPerChar;
        else if (plan_.reveal == Reveal::LineByLine && lineEnds)
            stepAt(c + 1).pauseMs += speedMeaning(speed).msPerLine;
    }
    takeMarks(total);
    stepAt(total);
}

std::vector<MessagePiece> MessageReveal::firstCharacters(int chars) const {
    std::vector<MessagePiece> shown;
    for (const MessagePiece& piece : pieces_) {
        if (chars <= 0)
            break;
        shown.push_back(piece);
        std::size_t at = 0;
        while (at < piece.text.size() && chars > 0) {
            at += characterBytes(std::string_view(piece.text).substr(at));
            --chars;
        }
        shown.back().text.resize(at);
    }
    return shown;
}

std::vector<MessagePiece> MessageReveal::shown(int chars) const {
    std::vector<MessagePiece> pieces = firstCharacters(std::clamp(chars, 0, characters()));
    if (pieces.empty())
        return pieces;
    const LineSpan& last = lines_[static_cast<std::size_t>(pieces.back().line)];
    int shift = 0; // how far the lines move up
    switch (plan_.overflow) {
    case Overflow::Drop:
        break;
    case Overflow::WaitForKey: {
        const auto first = std::find_if(lines_.begin(), lines_.end(), [&](const LineSpan& line) {
            return line.page == last.page;
        });
        shift = first->top - plan_.frameTop;
        break;
    }
    case Overflow::Scroll:
        shift = std::max(0, last.bottom - plan_.frameBottom);
        break;
    }
    std::erase_if(pieces, [&](const MessagePiece& piece) {
        const LineSpan& line = lines_[static_cast<std::size_t>(piece.line)];
        return line.top - shift < plan_.frameTop || line.bottom - shift > plan_.frameBottom;
    });
    for (MessagePiece& piece : pieces) {
        piece.top -= shift;
        piece.baseline -= shift;
        piece.lineBottom -= shift;
    }
    return pieces;
}

} // namespace pagora
