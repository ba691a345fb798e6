#include "editor/script/script_parser.h"

#include <algorithm>
#include <array>
#include <limits>

namespace pagora {
namespace {

constexpr int kAny = std::numeric_limits<int>::max();

struct VerbShape {
    std::string_view verb;
    int minArgs;
    int maxArgs;
};

constexpr std::array kVerbs{
    VerbShape{"open", 1, 1},         VerbShape{"menu", 1, 1},
    VerbShape{"page", 2, 2},         VerbShape{"focus", 1, 1},
    VerbShape{"click", 1, 1},        VerbShape{"dblclick", 1, 2},
    VerbShape{"set", 2, 2},          VerbShape{"select", 3, 3},
    VerbShape{"cell", 4, 4},         VerbShape{"key", 2, 2},
    VerbShape{"mouse", 4, 5},        VerbShape{"expect", 2, 2},
    VerbShape{"answer", 1, kAny},    VerbShape{"input", 1, 1},
    VerbShape{"input-cancel", 0, 0}, VerbShape{"file", 1, 1},
    VerbShape{"file-cancel", 0, 0},  VerbShape{"color", 1, 1},
    VerbShape{"color-cancel", 0, 0}, VerbShape{"wait-window", 1, 1},
    VerbShape{"print", 1, 1},        VerbShape{"print-page", 0, 0},
    VerbShape{"print-file", 1, 1},   VerbShape{"screenshot", 1, 1},
    VerbShape{"drop", 2, 2},         VerbShape{"layout", 0, kAny},
    VerbShape{"wait", 2, 2},
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

char unescaped(char c) {
    switch (c) {
    case '"':
    case '\\':
        return c;
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        throw std::invalid_argument(std::string("unknown escape \\") + c);
    }
}

// Reads a quoted argument starting at the opening quote; returns the position
// after the closing one.
std::size_t readQuoted(std::string_view line, std::size_t at, std::string& argument) {
    for (std::size_t i = at + 1; i < line.size(); ++i) {
        if (line[i] == '"') {
            if (i + 1 < line.size() && !isBlank(line[i + 1]))
                throw std::invalid_argument("text after a closing quote");
            return i + 1;
        }
        if (line[i] == '\\') {
            if (++i == line.size())
                break;
            argument += unescaped(line[i]);
        } else {
            argument += line[i];
        }
    }
    throw std::invalid_argument("missing closing quote");
}

void checkShape(const ScriptStep& step) {
    const auto* shape = std::find_if(kVerbs.begin(), kVerbs.end(),
                                     [&](const VerbShape& s) { return s.verb == step.verb; });
    if (shape == kVerbs.end())
        throw ScriptSyntaxError(step.line, "unknown step " + step.verb);
    const int count = static_cast<int>(step.args.size());
    if (count < shape->minArgs || count > shape->maxArgs)
        throw ScriptSyntaxError(step.line, "wrong number of arguments for " + step.verb);
}

} // namespace

std::vector<std::string> splitScriptLine(std::string_view line) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        std::string argument;
        if (line[i] == '"') {
            i = readQuoted(line, i, argument);
        } else {
            while (i < line.size() && !isBlank(line[i])) {
                if (line[i] == '"')
                    throw std::invalid_argument("quote inside an argument");
                argument += line[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::vector<ScriptStep> parseScript(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<ScriptStep> steps;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#')
            continue;
        std::vector<std::string> words;
        try {
            words = splitScriptLine(line);
        } catch (const std::invalid_argument& error) {
            throw ScriptSyntaxError(lineNumber, error.what());
        }
        ScriptStep step{lineNumber, words.front(), {words.begin() + 1, words.end()}};
        checkShape(step);
        steps.push_back(std::move(step));
    }
    return steps;
}

} // namespace pagora
