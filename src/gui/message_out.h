#pragma once

#include "gui/message_fonts.h"
#include "images/message_layout.h"
#include "images/true_canvas.h"

#include <cstdint>
#include <span>
#include <vector>

namespace pagora {

// Draws the sample text of the layout editor's text mode into its preview,
// as a play window shows a message at once, without waits: the lines laid
// out by layoutMessage, each piece in its font and colour, and with the
// window's shadow switched on, first the piece's shadow in the shadow colour,
// shadowOffset pixels right of and below it.
class TMessageOut {
public:
    // Draws into the picture (pixels 0x00RRGGBB), clipped to the message's
    // frame and to the picture. shadowColor is a colour of the comic
    // (0x00BBGGRR), like the message's own.
    void draw(TTC& picture, const MessageText& message, bool shadow, std::uint32_t shadowColor);

    // The pieces as draw lays them out.
    std::vector<MessagePiece> layout(const MessageText& message);

    // Draws pieces laid out for the message (all of them, or the part of
    // them a reveal shows), as draw does.
    void drawPieces(TTC& picture, const MessageText& message, std::span<const MessagePiece> pieces,
                    bool shadow, std::uint32_t shadowColor);

private:
    MessageFonts fonts_;
};

} // namespace pagora
