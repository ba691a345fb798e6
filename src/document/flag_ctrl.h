#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class Clock;
class Prompter;
class RandomSource;
class TComicFileCtrl;

// The two kinds of variable: each is declared in a header block of its own.
enum class VariableKind { Numeric, String };

// "ValueFlag" for numeric variables, "StringFlag" for string variables.
std::string_view variableBlock(VariableKind kind);

struct TValueFlag {
    std::string Name;
    int Value = 0;
};

struct TStringFlag {
    std::string Name;
    std::string Value;
};

// A text with its embedded variables replaced, and whether a delimiter was
// left without its partner.
struct TExpandResult {
    std::string Text;
    bool Error = false;
};

// The variable table: the numeric and string variables declared in the
// comic's header blocks "ValueFlag" and "StringFlag", with their initial
// values, in declaration order. It is a snapshot taken by LoadFlags and does
// not follow later edits of those blocks. Names and values are CP932.
//
// Names beginning with "@" are never looked up in the table; they are the
// read-only special variables (date, time, random number, elapsed time),
// computed on each request.
class TFlagCtrl {
public:
    TFlagCtrl(const TComicFileCtrl& comic, Prompter& prompter, const Clock& clock,
              RandomSource& random);

    // Every declaration of the header is loaded, however many there are.
    std::vector<TValueFlag> ValueFlags;
    std::vector<TStringFlag> StringFlags;
    // Exclusive upper bound of "@乱数"; at 0 or below, "@乱数" is always 0.
    int RandomMax = 1000;
    // The clock's tick count at the last LoadFlags (or at construction).
    std::int64_t StartTicks = 0;

    int ValueFlagCount() const { return static_cast<int>(ValueFlags.size()); }
    int StringFlagCount() const { return static_cast<int>(StringFlags.size()); }

    // Rebuilds the whole table from the document and restarts "@経過時間".
    void LoadFlags();

    // The first variable of that exact name; an unknown one shows an error box
    // and gives 0 or "<未定義変数>".
    int GetValueFlag(std::string_view name);
    std::string GetStringFlag(std::string_view name);

    // The special variables; any other name gives 0 or "<未定義変数>" silently.
    int GetSpecialValue(std::string_view name);
    std::string GetSpecialString(std::string_view name) const;

    // Replaces "&name&" by string values, then "%name%" by numeric values. An
    // unpaired delimiter shows an error box, drops out of the text and skips
    // the numeric pass when it is an "&".
    TExpandResult ExpandText(std::string_view text);
    // True unless ExpandText finds an unpaired delimiter; unknown variables
    // show their message but do not fail the check.
    bool CheckText(std::string_view text);

    std::vector<std::string> GetValueFlagNames() const;
    std::vector<std::string> GetStringFlagNames() const;
    static std::vector<std::string> GetSpecialValueNames();
    static std::vector<std::string> GetSpecialStringNames();

private:
    const TComicFileCtrl& comic_;
    Prompter& prompter_;
    const Clock& clock_;
    RandomSource& random_;
};

} // namespace pagora
