#pragma once

#include "document/cmd_ctrl.h"
#include "document/flag_ctrl.h"
#include "platform/prompter.h"
#include "platform/string_map.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class TComicFileCtrl;

// The kinds of name a command line refers to.
enum class NameKind { NumericVariable, StringVariable, Book, Page, File };
inline constexpr std::size_t kNameKinds = 5;

constexpr NameKind nameKindOf(VariableKind kind) {
    return kind == VariableKind::Numeric ? NameKind::NumericVariable : NameKind::StringVariable;
}

constexpr bool isVariableKind(NameKind kind) {
    return kind == NameKind::NumericVariable || kind == NameKind::StringVariable;
}

// A set of kinds of name, for readers that look for some only.
class NameKinds {
public:
    constexpr NameKinds() = default;
    constexpr NameKinds(std::initializer_list<NameKind> kinds) {
        for (const NameKind kind : kinds)
            bits_ |= bit(kind);
    }
    static constexpr NameKinds all() { return NameKinds(~0u); }
    constexpr bool contains(NameKind kind) const { return (bits_ & bit(kind)) != 0; }
    constexpr bool any(NameKinds other) const { return (bits_ & other.bits_) != 0; }

private:
    constexpr explicit NameKinds(unsigned bits)
        : bits_(bits) {}
    static constexpr unsigned bit(NameKind kind) { return 1u << static_cast<unsigned>(kind); }
    unsigned bits_ = 0;
};

inline constexpr NameKinds kVariableNames{NameKind::NumericVariable, NameKind::StringVariable};

// A name a command line refers to (CP932). A page is named with its book: the
// book of a jump, or the line's own book for the targets of choices. The
// views point into the line, its record or the own book given to the reader,
// and are valid only while the visit that hands them over runs.
struct NameReference {
    NameKind kind;
    std::string_view name;
    std::string_view book = {}; // pages only
    bool operator==(const NameReference&) const = default;
};

using NameVisitor = std::function<void(const NameReference&)>;

// A name that references lead to: a variable, a book, a page of a book, or
// a file (the same file whatever the letter case of its ASCII letters and
// whether "\" or "/" separates its folders).
struct NameTarget {
    NameKind kind;
    std::string name;
    std::string book = {}; // pages only
    bool matches(const NameReference& reference) const;
};

// A rename: the references to target come to name `to`.
struct NameChange {
    NameTarget target;
    std::string to;
};

// What rewriting a line for a rename gave.
struct LineRewrite {
    enum class Result {
        Unchanged,    // the line does not refer to the old name
        Rewritten,    // line holds the rewritten line
        NotRewritable // it refers to it, but does not read whole or is not as the writer writes it
    };
    Result result = Result::Unchanged;
    std::string line;
};

// The one place that knows where names stand in each kind of command line,
// read through the line's record:
// - variables embedded in texts, "&" + name + "&" for a string and "%" + name
//   + "%" for a numeric variable, paired as the player expands them: the
//   message, the choices, the assigned string, the save index name of
//   "SaveNameSet";
// - variables between delimiters: both sides of a condition, "%" + name + "%"
//   (numeric for "/IF:", string for "/IFS:"; a right side without "%" is a
//   literal), the target and the variable operands of "ValueCtrl" ("%"), the
//   target of "StringCtrl" ("$");
// - variables between delimiters or bare: the flag of "FlagCtrl" ("%"), the
//   target of "StrInput" ("$");
// - bare variables: the variable of the "System" sub-commands ValDataSave and
//   ValDataLoad (numeric), StrDataSave and StrDataLoad (string);
// - books and pages: the target of "PageJump" and "ClickAble", the
//   subroutine of the "System" sub-command Call, and the targets of
//   "SelectDlg", "$" + page + "$", pages of the line's own book;
// - files: the pictures of "Graphic" and "ClickAble", the files of "Music"
//   and "Sound".
// A name between delimiters is what lies between the field's first and last
// character, as the command dialogs read it. Empty names refer to nothing.
class NameReferenceReader {
public:
    NameReferenceReader() = default;
    NameReferenceReader(const NameReferenceReader&) = delete;
    NameReferenceReader& operator=(const NameReferenceReader&) = delete;

    // Calls visit for every name of the kinds the line refers to, in the
    // order of its record's fields, the options last; a name used twice is
    // visited twice. ownBook is the book of the page that holds the line.
    // Reading shows no message: a line that cannot be read whole gives what
    // could be read of it.
    void forEach(std::string_view line, const NameVisitor& visit,
                 NameKinds kinds = NameKinds::all(), std::string_view ownBook = {});

    // The line with every reference the change matches renamed, rebuilt by
    // the syntax writer. A line is rewritten only when it reads whole without
    // a message and the writer gives it back as it stands, so that nothing
    // the record does not hold is lost, and only when the rewritten line
    // reads back as the changed record. A line that does not read whole and
    // holds the old name's bytes after what could be read counts as one that
    // refers to it.
    LineRewrite rewrite(std::string_view line, const NameChange& change,
                        std::string_view ownBook = {});

private:
    // Reading shows none of the messages a broken condition shows in a
    // dialog, but a rewrite must know that one came up.
    class CountingPrompter : public QuietPrompter {
    public:
        Answer message(MessageKind kind, std::string_view text, Buttons buttons) override {
            ++messages;
            return QuietPrompter::message(kind, text, buttons);
        }
        int messages = 0;
    };

    CountingPrompter quiet_;
    TCmdCtrl syntax_{quiet_};
};

// The header keys of block "Comic" that name a file; "Default" (or empty)
// names none.
inline constexpr std::array<std::string_view, 6> kHeaderFileKeys = {"Opening",
                                                                    "Document",
                                                                    "MouseCursorNormal",
                                                                    "MouseCursorKeyWait",
                                                                    "MouseCursorTimeCount",
                                                                    "MouseCursorClickAble"};

// Whether two script file names name the same file: ASCII letters in any
// case, "\" and "/" alike (as characters, never as the second byte of a
// double-byte one).
bool sameFileName(std::string_view cp932A, std::string_view cp932B);

// How many command lines use each variable, by kind: a line that names a
// variable twice counts once.
class ReferenceCounts {
public:
    int lines(NameKind kind, std::string_view name) const;
    // Counts one more line for each variable of the line.
    void countLine(NameReferenceReader& reader, std::string_view line);

private:
    std::array<StringTable<int>, 2> counts_;
    std::vector<NameReference> lineNames_;
};

// The variables used by every command line of every page of the comic.
ReferenceCounts countReferences(const TComicFileCtrl& comic);

} // namespace pagora
