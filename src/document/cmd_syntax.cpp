// The syntax shared by every command line: kinds, tokens, options, quoting
// and the name check.
#include "document/cmd_ctrl.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "platform/prompter.h"

#include <algorithm>
#include <cstdint>

namespace pagora {
namespace {

constexpr std::array<std::string_view, 17> kKeywords = {
    "MsgDlg",    "Graphic",        "Music",    "Sound",      "MusicStop", "WaitTime",
    "FlagCtrl",  "SelectDlg",      "PageJump", "MouseClick", "ValueCtrl", "StringCtrl",
    "ClickAble", "ClickAbleClear", "StrInput", "WindowShow", "System"};

constexpr char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

constexpr std::size_t kLongestKeyword = 14; // "ClickAbleClear"

// A keyword in lower case, so that classifying a line folds only the line.
struct FoldedKeyword {
    std::array<char, kLongestKeyword> text{};
    std::size_t length = 0;
    constexpr std::string_view view() const { return {text.data(), length}; }
};

constexpr std::array<FoldedKeyword, kKeywords.size()> kFoldedKeywords = [] {
    std::array<FoldedKeyword, kKeywords.size()> folded{};
    for (std::size_t i = 0; i < kKeywords.size(); ++i) {
        for (const char c : kKeywords[i])
            folded[i].text[folded[i].length++] = lowerAscii(c);
    }
    return folded;
}();

// The kinds of each keyword length, so that a line's first word is compared
// only with keywords as long as it.
struct KindsOfLength {
    std::array<std::uint8_t, 4> kinds{}; // indexes into kKeywords
    std::size_t count = 0;
};

constexpr std::array<KindsOfLength, kLongestKeyword + 1> kKindsByLength = [] {
    std::array<KindsOfLength, kLongestKeyword + 1> byLength{};
    for (std::size_t i = 0; i < kKeywords.size(); ++i) {
        KindsOfLength& same = byLength[kKeywords[i].size()];
        same.kinds.at(same.count++) = static_cast<std::uint8_t>(i);
    }
    return byLength;
}();

bool equalsFoldedKeyword(std::string_view word, std::string_view foldedKeyword) {
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lowerAscii(word[i]) != foldedKeyword[i])
            return false;
    return true;
}

struct NamedColor {
    std::string_view name;
    std::uint32_t value;
};

constexpr std::uint32_t systemColor(std::uint32_t index) {
    return 0x80000000u | index;
}

constexpr NamedColor kNamedColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clScrollBar", systemColor(0)},
    {"clBackground", systemColor(1)},
    {"clActiveCaption", systemColor(2)},
    {"clInactiveCaption", systemColor(3)},
    {"clMenu", systemColor(4)},
    {"clWindow", systemColor(5)},
    {"clWindowFrame", systemColor(6)},
    {"clMenuText", systemColor(7)},
    {"clWindowText", systemColor(8)},
    {"clCaptionText", systemColor(9)},
    {"clActiveBorder", systemColor(10)},
    {"clInactiveBorder", systemColor(11)},
    {"clAppWorkSpace", systemColor(12)},
    {"clHighlight", systemColor(13)},
    {"clHighlightText", systemColor(14)},
    {"clBtnFace", systemColor(15)},
    {"clBtnShadow", systemColor(16)},
    {"clGrayText", systemColor(17)},
    {"clBtnText", systemColor(18)},
    {"clInactiveCaptionText", systemColor(19)},
    {"clBtnHighlight", systemColor(20)},
    {"cl3DDkShadow", systemColor(21)},
    {"cl3DLight", systemColor(22)},
    {"clInfoText", systemColor(23)},
    {"clInfoBk", systemColor(24)},
};

// The characters that names and texts may not hold, in the order the
// message lists them.
constexpr std::string_view kForbiddenCharacters = "!\"$'()=?;:*/";

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

void appendQuotedOption(std::string& text, std::string_view option) {
    if (!text.empty())
        text += ',';
    text.append("\"").append(option).append("\"");
}

// Every option of a line, the last token of each key winning.
// The values are parts of the line.
struct OptionValues {
    std::optional<std::string_view> If, IfS, Time, TimeHide, Pos, Color, Size, Win;

    std::optional<std::string_view>* slotFor(std::string_view key) {
        if (key == "IF")
            return &If;
        if (key == "IFS")
            return &IfS;
        if (key == "TIME")
            return &Time;
        if (key == "TIMEHIDE")
            return &TimeHide;
        if (key == "POS")
            return &Pos;
        if (key == "COLOR")
            return &Color;
        if (key == "SIZE")
            return &Size;
        if (key == "WIN")
            return &Win;
        return nullptr;
    }
};

OptionValues collectOptions(std::string_view line) {
    OptionValues values;
    std::string_view rest = TCmdCtrl::GetParamText(line);
    // Every option starts with "/", so most lines need no walk at all.
    if (rest.find('/') == std::string_view::npos)
        return values;
    std::string_view token;
    while (TCmdCtrl::NextParam(rest, token)) {
        if (token.empty() || token[0] != '/')
            continue;
        const std::size_t colon = token.find(':');
        if (colon == std::string_view::npos)
            continue;
        if (std::optional<std::string_view>* slot = values.slotFor(token.substr(1, colon - 1)))
            *slot = token.substr(colon + 1);
    }
    return values;
}

void readPosition(std::string_view text, TOptParam& option) {
    int* const fields[] = {&option.PosLeft, &option.PosTop, &option.PosRight, &option.PosBottom};
    for (int* field : fields) {
        const std::size_t comma = text.find(',');
        *field = lenientInt(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
}

} // namespace

std::string_view keywordOf(CmdKind kind) {
    const int index = static_cast<int>(kind) - 1;
    if (index < 0 || index >= static_cast<int>(kKeywords.size()))
        return {};
    return kKeywords[static_cast<std::size_t>(index)];
}

CmdKind TCmdCtrl::GetCommandKind(std::string_view line) {
    if (line.substr(0, 2) == "//")
        return CmdKind::Comment;
    // A first word longer than every keyword is none. Words are short: a
    // plain loop beats a memchr call.
    std::size_t length = 0;
    while (length < line.size() && line[length] != ' ')
        if (++length > kLongestKeyword)
            return CmdKind::Unknown;
    const std::string_view word = line.substr(0, length);
    const KindsOfLength& candidates = kKindsByLength[length];
    for (std::size_t i = 0; i < candidates.count; ++i) {
        const std::size_t kind = candidates.kinds[i];
        if (equalsFoldedKeyword(word, kFoldedKeywords[kind].view()))
            return static_cast<CmdKind>(kind + 1);
    }
    return CmdKind::Unknown;
}

std::string_view TCmdCtrl::GetParamText(std::string_view line) {
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos)
        return {};
    const std::size_t start = line.find_first_not_of(' ', blank);
    return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

// Quoted tokens lose their quotes and may hold commas; text between a closing
// quote and the next comma is dropped. Each step scans only up to the end of
// its token, so walking a line is linear in its length.
bool TCmdCtrl::NextParam(std::string_view& rest, std::string_view& token) {
    token = {};
    if (rest.empty())
        return false;
    // Tokens are short: plain loops beat a memchr call per search.
    const auto position = [&rest](std::size_t from, auto stopsAt) {
        while (from < rest.size() && !stopsAt(rest[from]))
            ++from;
        return from;
    };
    std::size_t first = position(0, [](char c) { return c == '"' || c == ','; });
    if (first < rest.size() && rest[first] == '"') {
        const std::size_t close = position(first + 1, [](char c) { return c == '"'; });
        // Without a closing quote the token is empty and the walk goes on
        // after the opening one.
        if (close < rest.size())
            token = rest.substr(first + 1, close - first - 1);
        first =
            position(close < rest.size() ? close + 1 : first + 1, [](char c) { return c == ','; });
    } else {
        token = rest.substr(0, first);
    }
    rest = first < rest.size() ? rest.substr(first + 1) : std::string_view();
    return true;
}

bool TCmdCtrl::NextParam(std::string_view& rest, std::string& token) {
    std::string_view view;
    const bool taken = NextParam(rest, view);
    token.assign(view);
    return taken;
}

bool TCmdCtrl::IsPositional(std::string_view token) {
    return !token.empty() && token[0] != '/';
}

std::optional<std::string> TCmdCtrl::GetOptionValue(std::string_view line, std::string_view key) {
    const std::string prefix = "/" + std::string(key) + ":";
    std::optional<std::string_view> value;
    std::string_view rest = GetParamText(line);
    std::string_view token;
    while (NextParam(rest, token))
        if (token.substr(0, prefix.size()) == prefix)
            value = token.substr(prefix.size());
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

TIfParam TCmdCtrl::ParseCondition(std::string_view text) {
    TIfParam condition;
    if (text.empty() || text[0] != '%') {
        prompter_.error(PAGORA_CP932("オプションパラメータ\"/IF\"の左辺は\r\n"
                                     "変数名を指定する必要があります"));
        return condition;
    }
    text.remove_prefix(1);
    // Without a closing "%" the name is empty and the operator follows at once.
    const std::size_t close = text.find('%');
    const std::size_t nameEnd = close == std::string_view::npos ? 0 : close + 1;
    const std::string left = "%" + std::string(text.substr(0, nameEnd));
    const std::string_view operatorText = text.substr(nameEnd, 2);
    const auto found =
        std::find(kConditionOperators.begin(), kConditionOperators.end(), operatorText);
    if (found == kConditionOperators.end()) {
        prompter_.error(PAGORA_CP932("比較演算子が適切ではありません"));
        return condition;
    }
    condition.Left = left;
    condition.Right = std::string(text.substr(std::min(text.size(), nameEnd + 2)));
    condition.Operator = static_cast<int>(found - kConditionOperators.begin());
    return condition;
}

TOptParam TCmdCtrl::ParseOptions(std::string_view line) {
    const OptionValues values = collectOptions(line);
    TOptParam option;
    if (values.If) {
        TIfParam condition = ParseCondition(*values.If);
        if (condition.Operator != -1)
            option.If = std::move(condition);
    }
    if (values.IfS) {
        TIfParam condition = ParseCondition(*values.IfS);
        if (condition.Operator != -1)
            option.IfS = std::move(condition);
    }
    if (values.Time)
        option.Time = strictInt(*values.Time);
    if (values.TimeHide)
        option.TimeHide = strictInt(*values.TimeHide);
    if (values.Size)
        option.Size = strictInt(*values.Size);
    if (values.Win)
        option.Win = strictInt(*values.Win);
    if (values.Pos)
        readPosition(*values.Pos, option);
    if (values.Color)
        option.Color = ParseColor(*values.Color);
    return option;
}

std::string TCmdCtrl::BuildOptions(const TOptParam& option) {
    std::string text;
    const auto condition = [](std::string_view key, const TIfParam& c) {
        return std::string(key) + c.Left +
               std::string(kConditionOperators[static_cast<std::size_t>(c.Operator)]) + c.Right;
    };
    if (option.If.Operator >= 0 && option.If.Operator <= 5 && !option.If.Left.empty() &&
        !option.If.Right.empty())
        appendQuotedOption(text, condition("/IF:", option.If));
    if ((option.IfS.Operator == 0 || option.IfS.Operator == 1 || option.IfS.Operator == 6) &&
        !option.IfS.Left.empty())
        appendQuotedOption(text, condition("/IFS:", option.IfS));
    if (option.Time >= 1)
        appendQuotedOption(text, "/TIME:" + std::to_string(option.Time));
    else if (option.TimeHide > 0)
        appendQuotedOption(text, "/TIMEHIDE:" + std::to_string(option.TimeHide));
    if (option.PosLeft < option.PosRight && option.PosTop < option.PosBottom)
        appendQuotedOption(text, "/POS:" + std::to_string(option.PosLeft) + "," +
                                     std::to_string(option.PosTop) + "," +
                                     std::to_string(option.PosRight) + "," +
                                     std::to_string(option.PosBottom));
    if (option.Color != kDefaultOptionColor)
        appendQuotedOption(text, "/COLOR:" + ColorText(option.Color));
    if (option.Size > 0)
        appendQuotedOption(text, "/SIZE:" + std::to_string(option.Size));
    if (option.Win > 0)
        appendQuotedOption(text, "/WIN:" + std::to_string(option.Win));
    return text;
}

std::string TCmdCtrl::ColorText(std::uint32_t color) {
    for (const NamedColor& named : kNamedColors)
        if (named.value == color)
            return std::string(named.name);
    char hex[11];
    std::snprintf(hex, sizeof hex, "0x%08x", color);
    return hex;
}

std::uint32_t TCmdCtrl::ParseColor(std::string_view text) {
    for (const NamedColor& named : kNamedColors)
        if (equalsIgnoringAsciiCase(text, named.name))
            return named.value;
    return static_cast<std::uint32_t>(strictInt(text));
}

std::string TCmdCtrl::QuoteParam(std::string_view text) {
    const std::size_t quote = text.find('"');
    if (quote != std::string_view::npos) {
        prompter_.error(PAGORA_CP932("文字列にダブルクォーテーション(\")は\n\r使用できません。"));
        text = text.substr(0, quote);
    }
    return "\"" + std::string(text) + "\"";
}

bool TCmdCtrl::ParamBool(std::string_view token) {
    return strictInt(token) > 0;
}

bool TCmdCtrl::CheckName(std::string_view text) {
    std::string found;
    for (const char c : kForbiddenCharacters)
        if (text.find(c) != std::string_view::npos)
            found += c;
    if (found.empty())
        return true;
    prompter_.error(PAGORA_CP932("文字列に不正な文字（") + found +
                    PAGORA_CP932("）が使用されています。\n\r文字列に ") +
                    std::string(kForbiddenCharacters) + PAGORA_CP932("は\n\r使用できません。"));
    return false;
}

} // namespace pagora
