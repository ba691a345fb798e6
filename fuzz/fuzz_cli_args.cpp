// Parses arbitrary command lines of pagora-cli without running them. Layout:
// the words of the line, cut at "\n". Whatever the words, the parse either
// names no command, or refuses them with a usage error, or hands the command
// its words in order: every positional argument and every option value is a
// word of the line, every option one of its words, and no word is left over or used twice.
#include "cli/cli.h"
#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using pagora::fuzz::require;

constexpr std::size_t kMostWords = 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words;
    for (const std::string_view word :
         pagora::fuzz::splitInput(pagora::fuzz::asText(data, size), '\n', kMostWords))
        words.emplace_back(word);
    std::optional<pagora::ParsedArguments> parsed;
    try {
        parsed = pagora::parseCliArguments(words);
    } catch (const pagora::UsageError&) {
        return 0;
    }
    if (!parsed)
        return 0;
    std::size_t used = 0;
    std::size_t emptyValues = 0; // a flag, or an option given an empty word as its value
    std::size_t position = 1;
    for (const std::string& argument : parsed->positional) {
        while (position < words.size() && words[position] != argument)
            ++position;
        require(position < words.size());
        require(argument.rfind("--", 0) != 0);
        ++position;
        ++used;
    }
    for (const auto& [option, value] : parsed->options) {
        require(!option.empty() && option[0] == '-');
        bool found = false;
        for (std::size_t i = 1; i < words.size() && !found; ++i)
            found = words[i] == option &&
                    (value.empty() || (i + 1 < words.size() && words[i + 1] == value));
        require(found);
        used += value.empty() ? 1u : 2u;
        emptyValues += value.empty();
    }
    require(used <= words.size() - 1 && words.size() - 1 - used <= emptyValues);
    return 0;
}
