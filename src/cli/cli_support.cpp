#include "cli/cli_support.h"

#include "document/comic_file.h"
#include "document/comic_rules.h"

namespace pagora {

std::string ParsedArguments::value(const std::string& option, const std::string& fallback) const {
    const auto found = options.find(option);
    return found == options.end() ? fallback : found->second;
}

std::vector<std::string> ParsedArguments::values(const std::string& option) const {
    std::vector<std::string> all;
    const auto [first, last] = options.equal_range(option);
    for (auto it = first; it != last; ++it)
        all.push_back(it->second);
    return all;
}

ParsedArguments parseArguments(const std::vector<std::string>& arguments,
                               const std::set<std::string>& withValue,
                               const std::set<std::string>& flags, std::size_t minPositional,
                               std::size_t maxPositional,
                               const std::set<std::string>& withTwoValues) {
    ParsedArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (withTwoValues.count(argument)) {
            if (i + 2 >= arguments.size())
                throw UsageError(argument + " needs two values");
            parsed.options.emplace(argument, arguments[++i]);
            parsed.options.emplace(argument, arguments[++i]);
        } else if (withValue.count(argument)) {
            if (i + 1 == arguments.size())
                throw UsageError(argument + " needs a value");
            parsed.options.emplace(argument, arguments[++i]);
        } else if (flags.count(argument)) {
            parsed.options.emplace(argument, "");
        } else if (argument.rfind("--", 0) == 0) {
            throw UsageError("unknown option " + argument);
        } else {
            parsed.positional.push_back(argument);
        }
    }
    if (parsed.positional.size() < minPositional)
        throw UsageError("missing arguments");
    if (parsed.positional.size() > maxPositional)
        throw UsageError("too many arguments");
    return parsed;
}

void loadComicAsEditor(TComicFileCtrl& comic, const std::filesystem::path& path,
                       CliContext& context) {
    SetEditorFileHead(comic);
    comic.LoadFromFile(path);
    CheckOpenedComic(comic, context.prompter, {});
}

} // namespace pagora
