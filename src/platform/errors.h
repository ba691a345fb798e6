#pragma once

#include <filesystem>
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

// The error number of a path that names something other than a regular
// file (a device, a pipe, a socket); not one of the system's numbers.
inline constexpr int kNotARegularFile = -1;

// What was being done with a file when it failed.
enum class FileAction { Open, Read, Write, Save, Copy };

// A file could not be read or written. Besides its English text (UTF-8, the
// file and the system's reason, as the command line tool prints it) it keeps
// the file, what was being done and the system's error number, from which
// ioErrorText builds the text the editor shows.
class IoError : public std::runtime_error {
public:
    // For a copy, folder names the folder copied into.
    IoError(std::filesystem::path path, FileAction action, int errorNumber,
            std::filesystem::path folder = {});

    const std::filesystem::path& path() const { return path_; }
    FileAction action() const { return action_; }
    int errorNumber() const { return errorNumber_; }
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path path_;
    FileAction action_;
    int errorNumber_;
    std::filesystem::path folder_;
};

// The Japanese text of a file error (UTF-8): what could not be done with
// which file, then the reason.
std::string ioErrorText(const IoError& error);
// The Japanese reason for a system error number (UTF-8); numbers without one
// of their own give a general text with the system's text in parentheses.
std::string ioErrorReason(int errorNumber);

// Text that cannot be represented in the comic's encoding (CP932).
class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace pagora
