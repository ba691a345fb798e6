#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

// The type face of a run of message text: size in points, bold, italic.
struct MessageStyle {
    int size = 12;
    bool bold = false;
    bool italic = false;

    bool operator==(const MessageStyle&) const = default;
};

// The vertical extent of a font in pixels: the height of a line of it and
// the part of that height above the baseline.
struct FontExtent {
    int height = 0;
    int ascent = 0;
};

// What the layout asks of the fonts. The preview answers from the fonts of
// the system; tests answer from fixed rules.
class FontMetrics {
public:
    virtual ~FontMetrics() = default;
    // The advance in pixels of a run of CP932 text.
    virtual int textWidth(std::string_view fontName, const MessageStyle& style,
                          std::string_view cp932) = 0;
    virtual FontExtent extent(std::string_view fontName, const MessageStyle& style) = 0;
};

// A message text to lay out in a frame. The texts are viewed, not owned.
struct MessageText {
    // CP932; "#" ends a line, a tag stands between "<" and ">".
    std::string_view text;
    // The frame in window pixels. Text stays left of `right` (a line wraps
    // before its text would reach it) and lines end at or above `bottom`.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    std::string_view fontName;
    // The style and the colour (0x00BBGGRR) at the start of the text.
    MessageStyle style;
    std::uint32_t color = 0;
};

// A run of text drawn in one style and colour, without tags.
struct MessagePiece {
    std::string text;   // CP932
    int x = 0;          // left edge, window pixels
    int top = 0;        // top of the font's line height; its bottom is the line's
    int baseline = 0;   // top plus the font's ascent
    int line = 0;       // the line it stands on, from 0, empty lines counted
    int lineBottom = 0; // the bottom of that line, below its last pixel row
    int width = 0;
    MessageStyle style;
    std::uint32_t color = 0; // 0x00BBGGRR
};

// Sizes that tags can reach, in points.
inline constexpr int kMinMessageSize = 1;
inline constexpr int kMaxMessageSize = 999;

// Lays out a message as the play windows show it at once, without waits:
//
// - "#" ends a line.
// - A tag runs from "<" to the next ">" on the same line and is never drawn.
//   "<+n>" and "<-n>" (n of one or two digits) make the font n points larger
//   or smaller, within kMinMessageSize and kMaxMessageSize; "<N>" clears bold
//   and italic, "<B>" adds bold, "<I>" adds italic; a tag beginning with "cl"
//   or "0x" is a colour text and sets the colour (one that does not parse
//   changes nothing). Every other tag ("<KEY>", "<W10>", "<FAST>" …) changes
//   nothing here. A "<" without its ">" on the same line is drawn as text.
// - A line wraps before the character whose width would reach the frame's
//   right edge; a double-byte character is never split, and a line holds at
//   least one character, so that a frame narrower than one character still
//   shows the text one character a line.
// - Lines stack from the frame's top. A line is as high as its tallest
//   font, an empty line as high as the font in effect at its end, and every
//   piece stands on the line's bottom. The first line that would end below
//   the frame's bottom is dropped with everything after it.
// - Every character is laid out, the last one and a text of one character
//   included.
//
// Pieces come line by line, left to right. A frame without width or height
// holds nothing.
std::vector<MessagePiece> layoutMessage(const MessageText& message, FontMetrics& metrics);

// How far a shadow of a font of this size (points) lies right of and below
// the text: size / 24 + 1 pixels, at most 4.
int shadowOffset(int size);

// A colour of the comic (0x00BBGGRR, or a system colour 0x800000nn) as a
// screen pixel 0x00RRGGBB. System colours take the values of the classic
// Windows scheme the comics were made with; any other high byte is dropped.
std::uint32_t screenColor(std::uint32_t color);

} // namespace pagora
