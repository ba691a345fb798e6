#pragma once

#include "document/cmd_ctrl.h"
#include "document/flag_ctrl.h"
#include "platform/prompter.h"
#include "platform/string_map.h"

#include <array>
#include <functional>
#include <string_view>
#include <vector>

namespace pagora {

class TComicFileCtrl;

// The kinds of name a command line refers to.
enum class NameKind { NumericVariable, StringVariable };
inline constexpr std::size_t kNameKinds = 2;

constexpr NameKind nameKindOf(VariableKind kind) {
    return kind == VariableKind::Numeric ? NameKind::NumericVariable : NameKind::StringVariable;
}

// A name a command line refers to (CP932). The view points into the line or
// into its record, and is valid only while the visit that hands it over runs.
struct NameReference {
    NameKind kind;
    std::string_view name;
    bool operator==(const NameReference&) const = default;
};

using NameVisitor = std::function<void(const NameReference&)>;

// The one place that knows where names stand in each kind of command line,
// read through the line's record:
// - embedded in texts, "&" + name + "&" for a string and "%" + name + "%" for
//   a numeric variable, paired as the player expands them: the message, the
//   choices, the assigned string, the save index name of "SaveNameSet";
// - between delimiters: both sides of a condition, "%" + name + "%" (numeric
//   for "/IF:", string for "/IFS:"; a right side without "%" is a literal),
//   the target and the variable operands of "ValueCtrl" ("%"), the target of
//   "StringCtrl" ("$");
// - between delimiters or bare: the flag of "FlagCtrl" ("%"), the target of
//   "StrInput" ("$");
// - bare: the variable of the "System" sub-commands ValDataSave and
//   ValDataLoad (numeric), StrDataSave and StrDataLoad (string).
// A name between delimiters is what lies between the field's first and last
// character, as the command dialogs read it. Empty names refer to nothing.
// New kinds of name (pages, files) are added to NameKind and found here.
class NameReferenceReader {
public:
    NameReferenceReader() = default;
    NameReferenceReader(const NameReferenceReader&) = delete;
    NameReferenceReader& operator=(const NameReferenceReader&) = delete;

    // Calls visit for every name the line refers to, in the order of its
    // record's fields, the options last; a name used twice is visited twice.
    // Reading shows no message: a line that cannot be read whole gives what
    // could be read of it.
    void forEach(std::string_view line, const NameVisitor& visit);

private:
    // Reading shows none of the messages a broken condition shows in a dialog.
    QuietPrompter quiet_;
    TCmdCtrl syntax_{quiet_};
};

// How many command lines use each name, by kind of name: a line that names a
// variable twice counts once.
class ReferenceCounts {
public:
    int lines(NameKind kind, std::string_view name) const;
    // Counts one more line for each name of the line.
    void countLine(NameReferenceReader& reader, std::string_view line);

private:
    std::array<StringTable<int>, kNameKinds> counts_;
    std::vector<NameReference> lineNames_;
};

// The names used by every command line of every page of the comic.
ReferenceCounts countReferences(const TComicFileCtrl& comic);

} // namespace pagora
