#include "document/flag_ctrl.h"

#include "document/comic_file.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/numbers.h"
#include "platform/prompter.h"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_map>
#include <utility>

namespace pagora {
namespace {

enum class Special { Random, Date, Year, Month, Day, Time, Hour, Minute, Second, Elapsed };

// The numeric special variables, in the order the choosers list them.
const std::vector<std::pair<std::string, Special>>& specialValues() {
    static const std::vector<std::pair<std::string, Special>> table = [] {
        const std::array<std::pair<const char*, Special>, 10> names{{
            {"@乱数", Special::Random},
            {"@年月日", Special::Date},
            {"@年", Special::Year},
            {"@月", Special::Month},
            {"@日", Special::Day},
            {"@時分秒", Special::Time},
            {"@時", Special::Hour},
            {"@分", Special::Minute},
            {"@秒", Special::Second},
            {"@経過時間", Special::Elapsed},
        }};
        std::vector<std::pair<std::string, Special>> converted;
        for (const auto& [utf8, which] : names)
            converted.emplace_back(toCp932(utf8), which);
        return converted;
    }();
    return table;
}

// The variables a header block declares, each with its first value, as a
// lookup of the key would read it.
std::vector<std::pair<std::string, std::string>> declarations(const TComicFileCtrl& comic,
                                                              std::string_view block) {
    std::vector<std::pair<std::string, std::string>> entries = comic.GetHeaderEntries(block);
    std::unordered_map<std::string, std::string> firstValues;
    for (const auto& [key, value] : entries)
        firstValues.try_emplace(key, value);
    for (auto& [key, value] : entries)
        value = firstValues[key];
    return entries;
}

const std::string& weekdayName() {
    return PAGORA_CP932("@曜日");
}

const std::string& undefinedString() {
    return PAGORA_CP932("<未定義変数>");
}

// Sunday to Saturday, one kanji each.
const std::string& weekdayKanji(int weekday) {
    static const std::array<std::string, 7> kanji{toCp932("日"), toCp932("月"), toCp932("火"),
                                                  toCp932("水"), toCp932("木"), toCp932("金"),
                                                  toCp932("土")};
    if (weekday < 0 || weekday >= static_cast<int>(kanji.size()))
        return undefinedString();
    return kanji[static_cast<std::size_t>(weekday)];
}

bool isSpecialName(std::string_view name) {
    return !name.empty() && name.front() == '@';
}

int clampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// One pass of ExpandText: copies text into result, replacing each
// delimiter-name-delimiter by what replace appends. Returns false when a
// delimiter is left unpaired; that delimiter is dropped and the text after it
// kept. The delimiters searched for ("&", "%") are never the second byte of a
// CP932 character, so a byte search cannot cut a character. Runs in time
// linear in the text: rest only ever shrinks from the front.
template <typename Replace>
bool expandPass(std::string_view rest, char delimiter, std::string& result, Replace&& replace) {
    bool paired = true;
    for (std::size_t open = rest.find(delimiter); open != std::string_view::npos;
         open = rest.find(delimiter)) {
        result.append(rest.substr(0, open));
        rest.remove_prefix(open + 1);
        const std::size_t close = rest.find(delimiter);
        if (close == std::string_view::npos) {
            paired = false;
            break;
        }
        replace(rest.substr(0, close), result);
        rest.remove_prefix(close + 1);
    }
    result.append(rest);
    return paired;
}

} // namespace

std::string_view variableBlock(VariableKind kind) {
    return kind == VariableKind::Numeric ? "ValueFlag" : "StringFlag";
}

TFlagCtrl::TFlagCtrl(const TComicFileCtrl& comic, Prompter& prompter, const Clock& clock,
                     RandomSource& random)
    : StartTicks(clock.ticksMs())
    , comic_(comic)
    , prompter_(prompter)
    , clock_(clock)
    , random_(random) {
}

void TFlagCtrl::LoadFlags() {
    random_.reseed();
    RandomMax = lenientInt(comic_.ReadHeader("Comic", "RandomFlagMax", ""), 1000);

    ValueFlags.clear();
    for (auto& [name, value] : declarations(comic_, variableBlock(VariableKind::Numeric)))
        ValueFlags.push_back({std::move(name), lenientInt(value, 0)});
    StringFlags.clear();
    for (auto& [name, value] : declarations(comic_, variableBlock(VariableKind::String)))
        StringFlags.push_back({std::move(name), std::move(value)});

    StartTicks = clock_.ticksMs();
}

int TFlagCtrl::GetValueFlag(std::string_view name) {
    if (isSpecialName(name))
        return GetSpecialValue(name);
    for (const TValueFlag& flag : ValueFlags) {
        if (flag.Name == name)
            return flag.Value;
    }
    prompter_.error(PAGORA_CP932("数値変数“") + std::string(name) +
                    PAGORA_CP932("”は存在しません"));
    return 0;
}

std::string TFlagCtrl::GetStringFlag(std::string_view name) {
    if (isSpecialName(name))
        return GetSpecialString(name);
    for (const TStringFlag& flag : StringFlags) {
        if (flag.Name == name)
            return flag.Value;
    }
    prompter_.error(PAGORA_CP932("文字列変数“") + std::string(name) +
                    PAGORA_CP932("”は存在しません"));
    return undefinedString();
}

int TFlagCtrl::GetSpecialValue(std::string_view name) {
    const auto& table = specialValues();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [name](const auto& entry) { return entry.first == name; });
    if (found == table.end())
        return 0;
    // An empty or negative range has no number to draw from: it gives 0.
    if (found->second == Special::Random)
        return RandomMax > 0 ? random_.below(RandomMax) : 0;
    if (found->second == Special::Elapsed)
        return clampToInt((clock_.ticksMs() - StartTicks) / 1000);

    const LocalTime time = clock_.now();
    switch (found->second) {
    case Special::Date:
        return time.year * 10000 + time.month * 100 + time.day;
    case Special::Year:
        return time.year;
    case Special::Month:
        return time.month;
    case Special::Day:
        return time.day;
    case Special::Time:
        return time.hour * 10000 + time.minute * 100 + time.second;
    case Special::Hour:
        return time.hour;
    case Special::Minute:
        return time.minute;
    case Special::Second:
        return time.second;
    case Special::Random:
    case Special::Elapsed:
        break;
    }
    return 0;
}

std::string TFlagCtrl::GetSpecialString(std::string_view name) const {
    if (name == weekdayName())
        return weekdayKanji(clock_.now().weekday);
    return undefinedString();
}

TExpandResult TFlagCtrl::ExpandText(std::string_view text) {
    std::string strings;
    strings.reserve(text.size());
    const bool stringsPaired =
        expandPass(text, '&', strings, [this](std::string_view name, std::string& out) {
            out.append(GetStringFlag(name));
        });
    if (!stringsPaired) {
        // The box would show "&&" as "&"; the Prompter shows text as it is.
        prompter_.error(PAGORA_CP932("\"&\"の数が合いません\r\n"
                                     "文に文字列変数を埋め込む場合は \"&\"で囲む必要があります"));
        return {std::move(strings), true};
    }

    std::string values;
    values.reserve(strings.size());
    const bool valuesPaired =
        expandPass(strings, '%', values, [this](std::string_view name, std::string& out) {
            out.append(std::to_string(GetValueFlag(name)));
        });
    if (!valuesPaired) {
        prompter_.error(PAGORA_CP932("\"%\"の数が合いません\r\n"
                                     "文に数値変数を埋め込む場合は \"%\"で囲む必要があります"));
        return {std::move(values), true};
    }
    return {std::move(values), false};
}

bool TFlagCtrl::CheckText(std::string_view text) {
    return !ExpandText(text).Error;
}

std::vector<std::string> TFlagCtrl::GetValueFlagNames() const {
    std::vector<std::string> names;
    names.reserve(ValueFlags.size());
    for (const TValueFlag& flag : ValueFlags)
        names.push_back(flag.Name);
    return names;
}

std::vector<std::string> TFlagCtrl::GetStringFlagNames() const {
    std::vector<std::string> names;
    names.reserve(StringFlags.size());
    for (const TStringFlag& flag : StringFlags)
        names.push_back(flag.Name);
    return names;
}

std::vector<std::string> TFlagCtrl::GetSpecialValueNames() {
    std::vector<std::string> names;
    for (const auto& entry : specialValues())
        names.push_back(entry.first);
    return names;
}

std::vector<std::string> TFlagCtrl::GetSpecialStringNames() {
    return {weekdayName()};
}

} // namespace pagora
