#include "platform/encoding.h"

#include "platform/errors.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iconv.h>

namespace pagora {
namespace {

// One conversion direction, opened on first use and kept for the thread.
class Converter {
public:
    Converter(const char* to, const char* from)
        : handle_(iconv_open(to, from)) {
        if (handle_ == invalidHandle())
            throw EncodingError(std::string("the system has no converter from ") + from + " to " +
                                to);
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; returns the number of input bytes left
    // unconverted at the first invalid or incomplete sequence (0 when done).
    std::size_t convert(std::string_view& in, std::string& out) {
        return convert(in, [&out](std::string_view piece) { out.append(piece); });
    }
    // The same, handing the output to write a piece at a time.
    template <typename Write> std::size_t convert(std::string_view& in, const Write& write) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            write(std::string_view(buffer, sizeof buffer - outLeft));
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG)
                break;
        }
        in.remove_prefix(in.size() - inLeft);
        return inLeft;
    }

private:
    static iconv_t invalidHandle() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t handle_;
};

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

std::string describeUnencodable(std::string_view rest) {
    const std::size_t length =
        std::min(utf8SequenceLength(static_cast<unsigned char>(rest[0])), rest.size());
    const std::string character(rest.substr(0, length));
    thread_local Converter toUtf32("UTF-32LE", "UTF-8");
    std::string_view probe = character;
    std::string codePoint;
    if (toUtf32.convert(probe, codePoint) != 0 || codePoint.size() != 4) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(rest[0]));
        return std::string("テキストに不正なバイト 0x") + hex + " があります";
    }
    unsigned value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(codePoint[static_cast<std::size_t>(i)]);
    char label[16];
    std::snprintf(label, sizeof label, "U+%04X", value);
    return "文字「" + character + "」(" + label + ") はコミックファイルに保存できません";
}

} // namespace

std::string toUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() + cp932.size() / 2);
    writeUtf8(cp932, [&out](std::string_view piece) { out.append(piece); });
    return out;
}

void writeUtf8(std::string_view cp932, const std::function<void(std::string_view)>& write) {
    // CP932 and UTF-8 agree on ASCII, the most common text by far.
    if (std::all_of(cp932.begin(), cp932.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        write(cp932);
        return;
    }
    thread_local Converter converter("UTF-8", "CP932");
    while (converter.convert(cp932, write) != 0) {
        write("\xEF\xBF\xBD"); // U+FFFD for the byte that does not decode
        cp932.remove_prefix(1);
    }
}

bool isValidCp932(std::string_view cp932) {
    thread_local Converter converter("UTF-8", "CP932");
    // Nothing of the output is kept: only whether the whole text converts.
    return converter.convert(cp932, [](std::string_view) {}) == 0;
}

namespace {

std::size_t characterLength(char lead) {
    return isCp932LeadByte(static_cast<unsigned char>(lead)) ? 2 : 1;
}

} // namespace

std::string_view cp932Prefix(std::string_view text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + characterLength(text[end]);
        if (next > maxBytes || next > text.size())
            break;
        end = next;
    }
    return text.substr(0, end);
}

std::string_view cp932StripEnds(std::string_view text) {
    if (text.empty())
        return {};
    const std::size_t first = characterLength(text[0]);
    std::size_t lastStart = 0;
    for (std::size_t at = 0; at < text.size();) {
        lastStart = at;
        at += characterLength(text[at]);
    }
    return lastStart <= first ? std::string_view() : text.substr(first, lastStart - first);
}

std::string toCp932(std::string_view utf8) {
    thread_local Converter converter("CP932", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    if (converter.convert(utf8, out) != 0)
        throw EncodingError(describeUnencodable(utf8));
    return out;
}

std::string toCp932Replacing(std::string_view utf8) {
    std::string out;
    while (!utf8.empty()) {
        const std::size_t length =
            std::min(utf8SequenceLength(static_cast<unsigned char>(utf8[0])), utf8.size());
        try {
            out += toCp932(utf8.substr(0, length));
        } catch (const EncodingError&) {
            out += '?';
        }
        utf8.remove_prefix(length);
    }
    return out;
}

} // namespace pagora
