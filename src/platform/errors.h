#pragma once

#include <stdexcept>
#include <string>

namespace pagora {

// A strict number field held something that is not a number. The text holds
// the field's token as the comic has it, so it is CP932 like every text of the
// core. The editor shows it in an error box; the command line tool prints it
// and exits with 2.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Builds the conversion error for a token that should have been an integer.
ConversionError notAnInteger(const std::string& token);

// A file could not be read or written. The text (UTF-8) names the file and the
// reason given by the operating system.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text that cannot be represented in the comic's encoding (CP932).
class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace pagora
