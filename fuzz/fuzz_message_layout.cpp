// Lays out an arbitrary message text in a frame taken from the first bytes.
// Every piece must lie inside the frame, hold whole characters of the text,
// and the pieces must come in reading order.
#include "images/message_layout.h"
#include "support/fixed_font_metrics.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

bool endsInsideACharacter(std::string_view cp932) {
    std::size_t at = 0;
    while (at < cp932.size())
        at += pagora::isCp932LeadByte(static_cast<unsigned char>(cp932[at])) ? 2u : 1u;
    return at > cp932.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    pagora::MessageText message;
    message.left = 5;
    message.top = 7;
    message.right = message.left + data[0] * 3;
    message.bottom = message.top + data[1] * 2;
    message.style.size = data[2];
    message.text = std::string_view(reinterpret_cast<const char*>(data) + 3, size - 3);
    pagora::test::FixedFontMetrics metrics;
    const std::vector<pagora::MessagePiece> pieces = pagora::layoutMessage(message, metrics);
    std::size_t bytes = 0;
    int lastBottom = message.top;
    for (const pagora::MessagePiece& piece : pieces) {
        const int bottom = piece.top + metrics.extent("", piece.style).height;
        const bool startsLine = piece.x == message.left;
        if (piece.text.empty() || piece.top < message.top || bottom > message.bottom ||
            bottom < lastBottom || piece.x < message.left ||
            (!startsLine && piece.x + piece.width >= message.right) ||
            piece.style.size < pagora::kMinMessageSize ||
            piece.style.size > pagora::kMaxMessageSize)
            __builtin_trap();
        // A double-byte character is never cut: only the text's own last
        // byte may be left alone.
        const bool last = &piece == &pieces.back();
        if (endsInsideACharacter(piece.text) && !(last && endsInsideACharacter(message.text) &&
                                                  piece.text.back() == message.text.back()))
            __builtin_trap();
        lastBottom = bottom;
        bytes += piece.text.size();
    }
    if (bytes > message.text.size())
        __builtin_trap();
    return 0;
}
