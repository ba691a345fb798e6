#include "document/name_references.h"

#include "document/comic_file.h"
#include "platform/encoding.h"

#include <algorithm>
#include <variant>

namespace pagora {
namespace {

// The delimiters searched for are never the second byte of a CP932
// character, so byte searches cannot cut one.
constexpr char kNumericDelimiter = '%';
constexpr char kStringDelimiter = '&';
constexpr char kTargetDelimiter = '$';

bool beginsWith(std::string_view text, char c) {
    return !text.empty() && text.front() == c;
}

// Hands the names of a record's fields to the visitor.
class RecordNames {
public:
    explicit RecordNames(const NameVisitor& visit)
        : visit_(visit) {}

    void operator()(std::monostate) const {}
    template <typename Record> void operator()(const Record& record) const {
        fields(record);
        condition(record.Option.If, NameKind::NumericVariable);
        condition(record.Option.IfS, NameKind::StringVariable);
    }

private:
    // The kinds whose own fields name nothing.
    template <typename Record> void fields(const Record&) const {}

    template <typename String> void fields(const BasicCmdMsgDlg<String>& record) const {
        embedded(record.Text);
    }
    // The choices of the pairs that the line keeps: up to the first target
    // that is not a page.
    template <typename String> void fields(const BasicCmdSelectDlg<String>& record) const {
        for (std::size_t i = 0; i < kSelectPairs && beginsWith(record.Targets[i], kTargetDelimiter);
             ++i)
            embedded(record.Items[i]);
    }
    template <typename String> void fields(const BasicCmdFlagCtrl<String>& record) const {
        delimitedOrBare(record.FlagName, kNumericDelimiter, NameKind::NumericVariable);
    }
    template <typename String> void fields(const BasicCmdValueCtrl<String>& record) const {
        for (const auto& operand : record.Operands)
            delimited(operand, kNumericDelimiter, NameKind::NumericVariable);
    }
    template <typename String> void fields(const BasicCmdStringCtrl<String>& record) const {
        delimited(record.Target, kTargetDelimiter, NameKind::StringVariable);
        embedded(record.Value);
    }
    template <typename String> void fields(const BasicCmdStrInput<String>& record) const {
        delimitedOrBare(record.Target, kTargetDelimiter, NameKind::StringVariable);
    }
    template <typename String> void fields(const BasicCmdSystem<String>& record) const {
        switch (record.SubCommand) {
        case 3: // ValDataSave
        case 4: // ValDataLoad
            report(NameKind::NumericVariable, record.Params[0]);
            break;
        case 5: // StrDataSave
        case 6: // StrDataLoad
            report(NameKind::StringVariable, record.Params[0]);
            break;
        case 10: // SaveNameSet
            embedded(record.Params[0]);
            break;
        default:
            break;
        }
    }

    void condition(const TIfParam& condition, NameKind kind) const {
        if (condition.Operator == -1)
            return;
        delimited(condition.Left, kNumericDelimiter, kind);
        delimited(condition.Right, kNumericDelimiter, kind);
    }

    void delimited(std::string_view field, char delimiter, NameKind kind) const {
        if (beginsWith(field, delimiter))
            report(kind, cp932StripEnds(field));
    }
    void delimitedOrBare(std::string_view field, char delimiter, NameKind kind) const {
        report(kind, beginsWith(field, delimiter) ? cp932StripEnds(field) : field);
    }

    // The player expands "&name&" pairs first and then "%name%" pairs in what
    // that left, and leaves every "%" alone when an "&" stays unpaired; a "%"
    // between a pair of "&" is part of the string variable's name.
    void embedded(std::string_view text) const {
        const bool stringsPaired = std::count(text.begin(), text.end(), kStringDelimiter) % 2 == 0;
        std::size_t numericOpen = std::string_view::npos;
        for (std::size_t at = text.find_first_of("&%"); at != std::string_view::npos;
             at = text.find_first_of("&%", at + 1)) {
            if (text[at] == kStringDelimiter) {
                const std::size_t close = text.find(kStringDelimiter, at + 1);
                if (close == std::string_view::npos)
                    return;
                report(NameKind::StringVariable, text.substr(at + 1, close - at - 1));
                at = close;
            } else if (!stringsPaired) {
                continue;
            } else if (numericOpen == std::string_view::npos) {
                numericOpen = at;
            } else {
                report(NameKind::NumericVariable,
                       text.substr(numericOpen + 1, at - numericOpen - 1));
                numericOpen = std::string_view::npos;
            }
        }
    }

    void report(NameKind kind, std::string_view name) const {
        if (!name.empty())
            visit_({kind, name});
    }

    const NameVisitor& visit_;
};

// Whether the line may name a variable at all: every name but the bare ones
// of three kinds stands beside one of the delimiters, so a line without them
// need not be read.
bool mayNameVariables(CmdKind kind, std::string_view line) {
    switch (kind) {
    case CmdKind::FlagCtrl:
    case CmdKind::StrInput:
    case CmdKind::System:
        return true;
    default:
        return line.find_first_of("%&$") != std::string_view::npos;
    }
}

} // namespace

void NameReferenceReader::forEach(std::string_view line, const NameVisitor& visit) {
    const CmdKind kind = TCmdCtrl::GetCommandKind(line);
    if (!mayNameVariables(kind, line))
        return;
    std::visit(RecordNames(visit),
               syntax_.ParseCommandView(kind, line, TCmdCtrl::ReadFailure::KeepWhatWasRead));
}

int ReferenceCounts::lines(NameKind kind, std::string_view name) const {
    const int* count = counts_[static_cast<std::size_t>(kind)].find(name);
    return count != nullptr ? *count : 0;
}

void ReferenceCounts::countLine(NameReferenceReader& reader, std::string_view line) {
    lineNames_.clear();
    reader.forEach(line, [this](const NameReference& reference) {
        if (std::find(lineNames_.begin(), lineNames_.end(), reference) != lineNames_.end())
            return;
        lineNames_.push_back(reference);
        ++counts_[static_cast<std::size_t>(reference.kind)].emplace(reference.name, 0);
    });
}

ReferenceCounts countReferences(const TComicFileCtrl& comic) {
    NameReferenceReader reader;
    ReferenceCounts counts;
    for (const std::string& book : comic.GetBookList())
        for (const std::string& page : comic.GetPageList(book))
            for (const std::string_view line : comic.PeekCommands(book, page))
                counts.countLine(reader, line);
    return counts;
}

} // namespace pagora
