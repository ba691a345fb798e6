#include "images/message_layout.h"

#include "document/cmd_ctrl.h"
#include "images/true_canvas.h"
#include "platform/encoding.h"
#include "platform/errors.h"

#include <algorithm>
#include <array>
#include <optional>

namespace pagora {
namespace {

// The drawing state that tags change.
struct PenState {
    MessageStyle style;
    std::uint32_t color = 0;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "+n" or "-n" with one or two digits; the change in points, or nothing.
std::optional<int> sizeChange(std::string_view tag) {
    if (tag.size() < 2 || tag.size() > 3 || (tag[0] != '+' && tag[0] != '-'))
        return std::nullopt;
    int points = 0;
    for (const char c : tag.substr(1)) {
        if (!isDigit(c))
            return std::nullopt;
        points = points * 10 + (c - '0');
    }
    return tag[0] == '-' ? -points : points;
}

void applyColorTag(std::string_view tag, PenState& pen) {
    try {
        pen.color = TCmdCtrl::ParseColor(tag);
    } catch (const ConversionError&) {
        // A colour text that does not parse leaves the colour as it was.
    }
}

void applyTag(std::string_view tag, PenState& pen) {
    if (const std::optional<int> change = sizeChange(tag))
        pen.style.size = std::clamp(pen.style.size + *change, kMinMessageSize, kMaxMessageSize);
    else if (tag == "N")
        pen.style.bold = pen.style.italic = false;
    else if (tag == "B")
        pen.style.bold = true;
    else if (tag == "I")
        pen.style.italic = true;
    else if (tag.starts_with("cl") || tag.starts_with("0x"))
        applyColorTag(tag, pen);
}

class MessageLayout {
public:
    MessageLayout(const MessageText& message, FontMetrics& metrics)
        : message_(message)
        , text_(message.text)
        , metrics_(metrics)
        , pen_{message.style, message.color}
        , x_(message.left)
        , lineTop_(message.top) {
        pen_.style.size = std::clamp(pen_.style.size, kMinMessageSize, kMaxMessageSize);
    }

    std::vector<MessagePiece> run() {
        if (message_.right <= message_.left || message_.bottom <= message_.top)
            return {};
        std::size_t at = 0;
        while (at < text_.size() && !full_)
            at = step(at);
        if (!full_ && !line_.empty())
            endLine();
        return std::move(pieces_);
    }

private:
    // Takes one line end, tag or character at `at`; returns where the next begins.
    std::size_t step(std::size_t at) {
        if (text_[at] == '#') {
            endLine();
            return at + 1;
        }
        if (text_[at] == '<') {
            const std::size_t close = tagEnd(at);
            if (close != std::string_view::npos) {
                applyTag(text_.substr(at + 1, close - at - 1), pen_);
                return close + 1;
            }
        }
        const std::size_t length = std::min<std::size_t>(
            isCp932LeadByte(static_cast<unsigned char>(text_[at])) ? 2 : 1, text_.size() - at);
        placeCharacter(text_.substr(at, length));
        return at + length;
    }

    // The ">" closing the tag that opens at `open`, or npos when a "#" or the
    // end of the text comes first. Neither byte can be the second byte of a
    // double-byte character, so a byte search is safe. The next stop is kept,
    // so that a line full of "<" is searched once.
    std::size_t tagEnd(std::size_t open) {
        if (nextStop_ <= open)
            nextStop_ = text_.find_first_of("#>", open + 1);
        if (nextStop_ == std::string_view::npos || text_[nextStop_] == '#')
            return std::string_view::npos;
        return nextStop_;
    }

    void placeCharacter(std::string_view character) {
        const int width = metrics_.textWidth(message_.fontName, pen_.style, character);
        if (!line_.empty() && x_ + width >= message_.right) {
            endLine();
            if (full_)
                return;
        }
        if (line_.empty() || line_.back().style != pen_.style || line_.back().color != pen_.color) {
            MessagePiece piece;
            piece.x = x_;
            piece.style = pen_.style;
            piece.color = pen_.color;
            line_.push_back(std::move(piece));
        }
        line_.back().text.append(character);
        line_.back().width += width;
        x_ += width;
    }

    // Sets the line's pieces on its bottom, or drops it and everything after
    // it when it would end below the frame.
    void endLine() {
        int height = line_.empty() ? extent(pen_.style).height : 0;
        for (const MessagePiece& piece : line_)
            height = std::max(height, extent(piece.style).height);
        if (lineTop_ + height > message_.bottom) {
            full_ = true;
            line_.clear();
            return;
        }
        for (MessagePiece& piece : line_) {
            const FontExtent font = extent(piece.style);
            piece.top = lineTop_ + height - font.height;
            piece.baseline = piece.top + font.ascent;
            piece.line = lineCount_;
            piece.lineBottom = lineTop_ + height;
            pieces_.push_back(std::move(piece));
        }
        line_.clear();
        lineTop_ += height;
        ++lineCount_;
        x_ = message_.left;
    }

    FontExtent extent(const MessageStyle& style) {
        return metrics_.extent(message_.fontName, style);
    }

    const MessageText& message_;
    std::string_view text_;
    FontMetrics& metrics_;
    PenState pen_;
    int x_;
    int lineTop_;
    bool full_ = false;
    std::size_t nextStop_ = 0;
    int lineCount_ = 0; // lines ended so far, empty ones included
    std::vector<MessagePiece> line_;
    std::vector<MessagePiece> pieces_;
};

// The classic Windows scheme, 0x00BBGGRR, by system colour index.
constexpr std::array<std::uint32_t, 25> kSystemColors = {
    0xC0C0C0, // scroll bar
    0x808000, // desktop
    0x800000, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application work space
    0x800000, // highlight
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x000000, // 3D dark shadow
    0xC0C0C0, // 3D light
    0x000000, // tool tip text
    0xE1FFFF, // tool tip background
};

} // namespace

std::vector<MessagePiece> layoutMessage(const MessageText& message, FontMetrics& metrics) {
    return MessageLayout(message, metrics).run();
}

int shadowOffset(int size) {
    return std::min(size / 24 + 1, 4);
}

std::uint32_t screenColor(std::uint32_t color) {
    const std::uint32_t index = color & 0xFFFFFF;
    if ((color & 0xFF000000) == 0x80000000 && index < kSystemColors.size())
        color = kSystemColors[index];
    return SwapRedBlue(color & 0xFFFFFF);
}

} // namespace pagora
