#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pagora {

// Reads a 32-bit integer the way the comic format has always read numbers:
// leading blanks, an optional sign, then decimal digits or hexadecimal digits
// after "$" or "0x"; nothing may follow. Empty when the text is not such a
// number or does not fit.
std::optional<int> parseInt(std::string_view text);

// A strict field: throws ConversionError when the text is not an integer.
int strictInt(std::string_view text);

// A lenient field: the fallback when the text is not an integer.
int lenientInt(std::string_view text, int fallback = 0);

} // namespace pagora
