#pragma once

#include "cli/console_prompter.h"

#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace pagora {

class TComicFileCtrl;

// What every command gets: the output streams and the prompter over them.
struct CliContext {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal; // progress lines only go to a terminal
    ConsolePrompter& prompter;
};

// Wrong arguments; the tool prints the text and the usage, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ParsedArguments {
    std::vector<std::string> positional;
    std::multimap<std::string, std::string> options; // "--name" -> value ("" for flags)

    bool has(const std::string& option) const { return options.count(option) > 0; }
    std::string value(const std::string& option, const std::string& fallback) const;
    std::vector<std::string> values(const std::string& option) const;
};

// Splits arguments into positional ones and options. Options in withValue
// take the next argument, those in withTwoValues the next two (kept in
// order under the option's name); options in flags take none; anything else
// that starts with "--" is a usage error, as is a positional count outside
// [minPositional, maxPositional].
ParsedArguments parseArguments(const std::vector<std::string>& arguments,
                               const std::set<std::string>& withValue,
                               const std::set<std::string>& flags, std::size_t minPositional,
                               std::size_t maxPositional,
                               const std::set<std::string>& withTwoValues = {});

// Loads a comic as the editor opens one: the editor's file head, the reader
// (IoError when unreadable) and the checks after opening.
void loadComicAsEditor(TComicFileCtrl& comic, const std::filesystem::path& path,
                       CliContext& context);

} // namespace pagora
