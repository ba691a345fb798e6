#include "platform/numbers.h"

#include "platform/errors.h"

#include <cstdint>

namespace pagora {
namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

bool startsWithHexPrefix(std::string_view text) {
    return text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

} // namespace

std::optional<int> parseInt(std::string_view text) {
    // Most numbers in a script are one plain digit.
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9')
        return text[0] - '0';
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (startsWithHexPrefix(text)) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        const int digit = digitValue(c);
        if (digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFLL)
            return std::nullopt;
    }
    // Hexadecimal reaches the full 32 bits (0xFFFFFFFF is -1), decimal stays in range.
    if (base == 16 && value > INT32_MAX)
        value -= 0x100000000LL;
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

int strictInt(std::string_view text) {
    const std::optional<int> value = parseInt(text);
    if (!value)
        throw notAnInteger(std::string(text));
    return *value;
}

int lenientInt(std::string_view text, int fallback) {
    return parseInt(text).value_or(fallback);
}

} // namespace pagora
