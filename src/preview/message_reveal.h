#pragma once

#include "images/message_layout.h"
#include "player/play_meanings.h"

#include <span>
#include <string_view>
#include <vector>

namespace pagora {

// A tag that acts while a message is being revealed, placed before the
// character it precedes (counted from 0 among the characters drawn).
struct RevealMark {
    enum class Kind { Pause, Key, Speed };
    int atChar = 0;
    Kind kind = Kind::Pause;
    int value = 0; // Pause: milliseconds; Speed: a row of kSpeedMeanings
    bool operator==(const RevealMark&) const = default;
};

// The "<Wn>" (n tenths of a second, 1 to 20), "<KEY>", "<FAST>", "<NORMAL>"
// and "<SLOW>" tags of a message text (CP932), read as the layout reads
// tags: from "<" to the next ">" on the same line; "#" ends a line and is
// not a character.
std::vector<RevealMark> revealMarks(std::string_view cp932Text);

// One step of a reveal: the first `chars` characters show, then the reveal
// pauses or waits for a key before the next step.
struct RevealStep {
    int chars = 0;
    int pauseMs = 0;
    bool keyWait = false;
    bool operator==(const RevealStep&) const = default;
};

// How a message is revealed in its frame: the pieces are laid out with no
// bottom, and the frame's height decides what overflows.
struct RevealPlan {
    Reveal reveal = Reveal::AllAtOnce;
    Overflow overflow = Overflow::Drop;
    int speed = 0; // the row of kSpeedMeanings at the start
    bool keyWaitEachLine = false;
    int frameTop = 0;
    int frameBottom = 0;
};

class MessageReveal {
public:
    MessageReveal(std::vector<MessagePiece> pieces, std::span<const RevealMark> marks,
                  const RevealPlan& plan);

    int characters() const { return static_cast<int>(lineOfChar_.size()); }
    // The steps in order; the last one shows every character.
    const std::vector<RevealStep>& steps() const { return steps_; }
    // The pieces that show when the first `chars` characters are revealed:
    // lines past the frame dropped, the page of the last character shown,
    // or the lines scrolled up, as the overflow says.
    std::vector<MessagePiece> shown(int chars) const;

private:
    struct LineSpan {
        int top = 0;
        int bottom = 0;
        int page = 0;
    };

    void measureLines();
    void planSteps(std::span<const RevealMark> marks);
    RevealStep& stepAt(int chars);
    std::vector<MessagePiece> firstCharacters(int chars) const;

    std::vector<MessagePiece> pieces_;
    RevealPlan plan_;
    std::vector<int> lineOfChar_;
    std::vector<LineSpan>
        lines_; // by line number; lines without pieces take their neighbours' edges
    std::vector<RevealStep> steps_;
};

} // namespace pagora
