#pragma once

#include "images/message_layout.h"
#include "platform/encoding.h"

namespace pagora::test {

// Fonts with fixed rules: a single-byte character is half the size wide, a
// double-byte one the size; a line is the size plus a quarter high, the
// ascent is the size. Counts the widths asked for.
class FixedFontMetrics : public FontMetrics {
public:
    int textWidth(std::string_view, const MessageStyle& style, std::string_view cp932) override {
        ++widthCalls;
        int width = 0;
        for (std::size_t at = 0; at < cp932.size(); ++at) {
            const bool doubleByte = isCp932LeadByte(static_cast<unsigned char>(cp932[at]));
            width += doubleByte ? style.size : style.size / 2;
            at += doubleByte ? 1 : 0;
        }
        return width;
    }
    FontExtent extent(std::string_view, const MessageStyle& style) override {
        return {style.size + style.size / 4, style.size};
    }

    int widthCalls = 0;
};

} // namespace pagora::test
