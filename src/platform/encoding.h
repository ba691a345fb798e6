#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pagora {

// Decodes CP932 bytes to UTF-8. Bytes that are not valid CP932 become U+FFFD,
// one per byte, so any file content can be shown.
std::string toUtf8(std::string_view cp932);
// The same, handed to write a piece at a time, so that a long text is never
// held whole in both encodings.
void writeUtf8(std::string_view cp932, const std::function<void(std::string_view)>& write);

// Whether the bytes are CP932 text throughout: every byte or pair of bytes
// decodes to a character.
bool isValidCp932(std::string_view cp932);

// Encodes UTF-8 text as CP932. Throws EncodingError naming the first character
// that CP932 cannot hold (or the first invalid UTF-8 byte).
std::string toCp932(std::string_view utf8);

// Encodes UTF-8 text as CP932 for a message, with "?" for each character
// CP932 cannot hold (a file path, say).
std::string toCp932Replacing(std::string_view utf8);

// Whether a CP932 byte starts a double-byte character.
inline bool isCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The longest start of a CP932 text that fits in maxBytes without splitting a
// double-byte character.
std::string_view cp932Prefix(std::string_view text, std::size_t maxBytes);

// The text without its first and last character (CP932-aware); empty when it
// has fewer than two characters.
std::string_view cp932StripEnds(std::string_view text);

} // namespace pagora

// A fixed text of the program (a UTF-8 literal) as CP932 bytes, converted once
// per call site and kept for the rest of the run.
#define PAGORA_CP932(literal)                                                                      \
    ([]() -> const std::string& {                                                                  \
        static const std::string converted = ::pagora::toCp932(literal);                           \
        return converted;                                                                          \
    }())
