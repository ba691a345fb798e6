#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

// One step of an editor script: its verb, its arguments (UTF-8, unquoted)
// and the line it was written on, counted from 1.
struct ScriptStep {
    int line = 0;
    std::string verb;
    std::vector<std::string> args;
};

// A script that cannot be read; what() names the fault, line() where it is.
class ScriptSyntaxError : public std::runtime_error {
public:
    ScriptSyntaxError(int line, const std::string& what)
        : std::runtime_error(what)
        , line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

// Splits one line into arguments separated by blanks; an argument in double
// quotes may hold blanks or be empty and takes the escapes \" \\ \n \r \t.
// Throws std::invalid_argument for an open quote or an unknown escape.
std::vector<std::string> splitScriptLine(std::string_view line);

// Reads a whole script (UTF-8; CR LF or LF lines; blank lines and lines
// starting with # skipped), checking every verb and its argument count.
std::vector<ScriptStep> parseScript(std::string_view text);

} // namespace pagora
