#include "document/name_references.h"

#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/errors.h"

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

// How a name stands in a text field of a record.
enum class Form {
    Embedded,        // variables paired in a text, "&name&" and "%name%"
    Delimited,       // the field is delimiter + name + delimiter, else no name
    DelimitedOrBare, // delimiter + name + delimiter, or the name itself
    Bare,            // the field is the name
};

// A text field that may hold a name: how, of what kind (the embedded form
// holds both kinds of variable), and the book of a page.
struct Slot {
    Form form;
    NameKind kind = NameKind::NumericVariable;
    char delimiter = 0;
    std::string_view book = {};
};

// Where a name stands in a field: its kind and its bytes.
struct Span {
    NameKind kind;
    std::size_t offset;
    std::size_t length;
};

// The player expands "&name&" pairs first and then "%name%" pairs in what
// that left, and leaves every "%" alone when an "&" stays unpaired; a "%"
// between a pair of "&" is part of the string variable's name.
template <typename Visit> void embeddedSpans(std::string_view text, Visit&& visit) {
    const bool stringsPaired = std::count(text.begin(), text.end(), kStringDelimiter) % 2 == 0;
    std::size_t numericOpen = std::string_view::npos;
    for (std::size_t at = text.find_first_of("&%"); at != std::string_view::npos;
         at = text.find_first_of("&%", at + 1)) {
        if (text[at] == kStringDelimiter) {
            const std::size_t close = text.find(kStringDelimiter, at + 1);
            if (close == std::string_view::npos)
                return;
            visit(Span{NameKind::StringVariable, at + 1, close - at - 1});
            at = close;
        } else if (!stringsPaired) {
            continue;
        } else if (numericOpen == std::string_view::npos) {
            numericOpen = at;
        } else {
            visit(Span{NameKind::NumericVariable, numericOpen + 1, at - numericOpen - 1});
            numericOpen = std::string_view::npos;
        }
    }
}

// Calls visit for each non-empty name of the field.
template <typename Visit> void spansOf(std::string_view text, const Slot& slot, Visit&& visit) {
    const auto report = [&](NameKind kind, std::size_t offset, std::size_t length) {
        if (length > 0)
            visit(Span{kind, offset, length});
    };
    const auto stripped = [&] {
        const std::string_view name = cp932StripEnds(text);
        report(slot.kind, name.empty() ? 0 : static_cast<std::size_t>(name.data() - text.data()),
               name.size());
    };
    switch (slot.form) {
    case Form::Embedded:
        embeddedSpans(text, [&](const Span& span) { report(span.kind, span.offset, span.length); });
        break;
    case Form::Delimited:
        if (beginsWith(text, slot.delimiter))
            stripped();
        break;
    case Form::DelimitedOrBare:
        if (beginsWith(text, slot.delimiter))
            stripped();
        else
            report(slot.kind, 0, text.size());
        break;
    case Form::Bare:
        report(slot.kind, 0, text.size());
        break;
    }
}

bool wanted(const Slot& slot, NameKinds kinds) {
    return slot.form == Form::Embedded ? kinds.any(kVariableNames) : kinds.contains(slot.kind);
}

// Walks the text fields of a record that may hold a name, handing each to
// field(text, slot): fields of the record first, the conditions last. The
// record's texts are views (to read) or strings (to rewrite).
template <typename Field> class RecordFields {
public:
    RecordFields(NameKinds kinds, std::string_view ownBook, Field& field)
        : kinds_(kinds)
        , ownBook_(ownBook)
        , field_(field) {}

    void operator()(std::monostate) const {}
    template <typename Record> void operator()(Record& record) const {
        fields(record);
        condition(record.Option.If, NameKind::NumericVariable);
        condition(record.Option.IfS, NameKind::StringVariable);
    }

private:
    // The kinds whose own fields name nothing.
    template <typename Record> void fields(Record&) const {}

    template <typename String> void fields(BasicCmdMsgDlg<String>& record) const {
        embedded(record.Text);
    }
    template <typename String> void fields(BasicCmdGraphic<String>& record) const {
        file(record.FileName);
    }
    template <typename String> void fields(BasicCmdMusic<String>& record) const {
        file(record.FileName);
    }
    template <typename String> void fields(BasicCmdSound<String>& record) const {
        file(record.FileName);
    }
    // The pairs that the line keeps: up to the first target that is not a page.
    template <typename String> void fields(BasicCmdSelectDlg<String>& record) const {
        for (std::size_t i = 0; i < kSelectPairs && beginsWith(record.Targets[i], kTargetDelimiter);
             ++i) {
            embedded(record.Items[i]);
            visit(record.Targets[i], {Form::Delimited, NameKind::Page, kTargetDelimiter, ownBook_});
        }
    }
    template <typename String> void fields(BasicCmdPageJump<String>& record) const {
        page(record.BookName, record.PageName);
    }
    template <typename String> void fields(BasicCmdClickAble<String>& record) const {
        page(record.BookName, record.PageName);
        file(record.ImageFile);
    }
    template <typename String> void fields(BasicCmdFlagCtrl<String>& record) const {
        visit(record.FlagName,
              {Form::DelimitedOrBare, NameKind::NumericVariable, kNumericDelimiter});
    }
    template <typename String> void fields(BasicCmdValueCtrl<String>& record) const {
        for (auto& operand : record.Operands)
            visit(operand, {Form::Delimited, NameKind::NumericVariable, kNumericDelimiter});
    }
    template <typename String> void fields(BasicCmdStringCtrl<String>& record) const {
        visit(record.Target, {Form::Delimited, NameKind::StringVariable, kTargetDelimiter});
        embedded(record.Value);
    }
    template <typename String> void fields(BasicCmdStrInput<String>& record) const {
        visit(record.Target, {Form::DelimitedOrBare, NameKind::StringVariable, kTargetDelimiter});
    }
    template <typename String> void fields(BasicCmdSystem<String>& record) const {
        switch (record.SubCommand) {
        case 3: // ValDataSave
        case 4: // ValDataLoad
            visit(record.Params[0], {Form::Bare, NameKind::NumericVariable});
            break;
        case 5: // StrDataSave
        case 6: // StrDataLoad
            visit(record.Params[0], {Form::Bare, NameKind::StringVariable});
            break;
        case 7: // Call
            page(record.Params[0], record.Params[1]);
            break;
        case 10: // SaveNameSet
            embedded(record.Params[0]);
            break;
        default:
            break;
        }
    }

    void condition(TIfParam& condition, NameKind kind) const {
        if (condition.Operator == -1)
            return;
        visit(condition.Left, {Form::Delimited, kind, kNumericDelimiter});
        visit(condition.Right, {Form::Delimited, kind, kNumericDelimiter});
    }

    template <typename String> void page(String& book, String& page) const {
        visit(book, {Form::Bare, NameKind::Book});
        visit(page, {Form::Bare, NameKind::Page, 0, std::string_view(book)});
    }
    template <typename String> void file(String& name) const {
        visit(name, {Form::Bare, NameKind::File});
    }
    template <typename String> void embedded(String& text) const { visit(text, {Form::Embedded}); }
    template <typename String> void visit(String& text, const Slot& slot) const {
        if (!text.empty() && wanted(slot, kinds_))
            field_(text, slot);
    }

    NameKinds kinds_;
    std::string_view ownBook_;
    Field& field_;
};

// Whether a line of the kind may name one of the kinds at all, so that most
// lines need not be read: every variable but the bare ones of three kinds
// stands beside one of the delimiters.
bool mayName(CmdKind kind, std::string_view line, NameKinds kinds) {
    switch (kind) {
    case CmdKind::FlagCtrl:
    case CmdKind::StrInput:
        return kinds.any(kVariableNames);
    case CmdKind::System:
        return kinds.any(
            {NameKind::NumericVariable, NameKind::StringVariable, NameKind::Book, NameKind::Page});
    case CmdKind::PageJump:
    case CmdKind::SelectDlg:
        if (kinds.any({NameKind::Book, NameKind::Page}))
            return true;
        break;
    case CmdKind::ClickAble:
        if (kinds.any({NameKind::Book, NameKind::Page, NameKind::File}))
            return true;
        break;
    case CmdKind::Graphic:
    case CmdKind::Music:
    case CmdKind::Sound:
        if (kinds.contains(NameKind::File))
            return true;
        break;
    default:
        break;
    }
    return kinds.any(kVariableNames) && line.find_first_of("%&$") != std::string_view::npos;
}

// One character of a file name for comparing: a double-byte character as it
// is, a single byte with ASCII letters in lower case and "/" as "\".
std::string_view fileNameCharacter(std::string_view name, std::size_t at, char& folded) {
    const auto byte = static_cast<unsigned char>(name[at]);
    if (isCp932LeadByte(byte) && at + 1 < name.size())
        return name.substr(at, 2);
    folded = byte == '/' ? '\\' : static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
    return {&folded, 1};
}

} // namespace

bool sameFileName(std::string_view cp932A, std::string_view cp932B) {
    if (cp932A.size() != cp932B.size())
        return false;
    for (std::size_t at = 0; at < cp932A.size();) {
        char foldedA = 0;
        char foldedB = 0;
        const std::string_view a = fileNameCharacter(cp932A, at, foldedA);
        if (a != fileNameCharacter(cp932B, at, foldedB))
            return false;
        at += a.size();
    }
    return true;
}

bool NameTarget::matches(const NameReference& reference) const {
    if (reference.kind != kind)
        return false;
    if (kind == NameKind::File)
        return sameFileName(reference.name, name);
    return reference.name == name && (kind != NameKind::Page || reference.book == book);
}

void NameReferenceReader::forEach(std::string_view line, const NameVisitor& visit, NameKinds kinds,
                                  std::string_view ownBook) {
    const CmdKind kind = TCmdCtrl::GetCommandKind(line);
    if (!mayName(kind, line, kinds))
        return;
    auto field = [&](std::string_view text, const Slot& slot) {
        spansOf(text, slot, [&](const Span& span) {
            if (kinds.contains(span.kind))
                visit({span.kind, text.substr(span.offset, span.length), slot.book});
        });
    };
    CmdRecordView record =
        syntax_.ParseCommandView(kind, line, TCmdCtrl::ReadFailure::KeepWhatWasRead);
    std::visit(RecordFields(kinds, ownBook, field), record);
}

LineRewrite NameReferenceReader::rewrite(std::string_view line, const NameChange& change,
                                         std::string_view ownBook) {
    bool refers = false;
    forEach(
        line,
        [&](const NameReference& reference) {
            refers = refers || change.target.matches(reference);
        },
        {change.target.kind}, ownBook);
    // A line that does not read whole may name it in what could not be read.
    if (!refers && line.find(change.target.name) == std::string_view::npos)
        return {};
    const LineRewrite notRewritable{LineRewrite::Result::NotRewritable, {}};
    quiet_.messages = 0;
    CmdRecord record;
    try {
        record = syntax_.ParseCommand(line, TCmdCtrl::ReadFailure::Throw);
    } catch (const ConversionError&) {
        return notRewritable;
    }
    if (!refers)
        return {};
    if (quiet_.messages > 0 || syntax_.BuildCommand(record) != line)
        return notRewritable;

    auto field = [&](std::string& text, const Slot& slot) {
        std::vector<Span> renamed;
        spansOf(text, slot, [&](const Span& span) {
            if (change.target.matches({span.kind,
                                       std::string_view(text).substr(span.offset, span.length),
                                       slot.book}))
                renamed.push_back(span);
        });
        for (auto span = renamed.rbegin(); span != renamed.rend(); ++span)
            text.replace(span->offset, span->length, change.to);
    };
    std::visit(RecordFields({change.target.kind}, ownBook, field), record);
    std::string rewritten = syntax_.BuildCommand(record);
    if (quiet_.messages > 0 || syntax_.ParseCommand(rewritten) != record)
        return notRewritable;
    return {LineRewrite::Result::Rewritten, std::move(rewritten)};
}

int ReferenceCounts::lines(NameKind kind, std::string_view name) const {
    if (!isVariableKind(kind))
        return 0;
    const int* count = counts_[static_cast<std::size_t>(kind)].find(name);
    return count != nullptr ? *count : 0;
}

void ReferenceCounts::countLine(NameReferenceReader& reader, std::string_view line) {
    lineNames_.clear();
    reader.forEach(
        line,
        [this](const NameReference& reference) {
            if (std::find(lineNames_.begin(), lineNames_.end(), reference) != lineNames_.end())
                return;
            lineNames_.push_back(reference);
            ++counts_[static_cast<std::size_t>(reference.kind)].emplace(reference.name, 0);
        },
        kVariableNames);
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
