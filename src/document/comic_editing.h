#pragma once

#include "document/comic_references.h"
#include "document/edit_place.h"
#include "document/flag_ctrl.h"
#include "platform/prompter.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pagora {

class TCmdCtrl;
class TComicFileCtrl;

// The editing rules of the book and page tree and of the command list, as
// functions over the comic. Each edit is one call that changes the comic
// through its public operations and says what it did; the editor asks the
// user its questions before the call and shows the verdict after it.
// Names, lines and messages are CP932.

// The command clipboard: raw command lines, private to the program.
using CommandClipboard = std::vector<std::string>;

// A message shown for a refused edit, with an OK button.
struct EditMessage {
    MessageKind kind = MessageKind::Information;
    std::string text;
    bool operator==(const EditMessage&) const = default;
};

// What an edit did. Done: the comic changed and focus is the place of the
// change. Refused: nothing changed and refusal is the message to show.
// Neither: nothing changed and there is nothing to say (a name the name
// check has already reported, a name left as it was, a book dropped on itself).
struct EditVerdict {
    std::optional<EditPlace> focus;
    std::optional<EditMessage> refusal;

    bool done() const { return focus.has_value(); }
    static EditVerdict doneAt(EditPlace place) { return {std::move(place), std::nullopt}; }
    static EditVerdict refused(MessageKind kind, std::string text) {
        return {std::nullopt, EditMessage{kind, std::move(text)}};
    }
    static EditVerdict unchanged() { return {}; }
};

// --- command lines of a page ---
// The page is that of the place; its line is the focused line, -1 when the
// page shows none. Rows are line indexes of the page, in any order. The focus
// of a done edit is a line of the page. A page the comic does not hold (the
// open page of a comic whose structure breaks before it) is left unchanged.

// The empty comment line "// " before the focused line (at the top when none is).
EditVerdict insertEmptyLine(TComicFileCtrl& comic, const EditPlace& focused);
// The empty comment line "// " after the last line.
EditVerdict appendEmptyLine(TComicFileCtrl& comic, const EditPlace& page);
// A line from a command dialog: after the focused line, or at the end when
// the focused line is the last one or there is none.
EditVerdict insertLineAfter(TComicFileCtrl& comic, const EditPlace& focused, std::string_view line);
// A dialog's OK: the line at the place becomes line (none outside the page).
EditVerdict setLine(TComicFileCtrl& comic, const EditPlace& at, std::string_view line);
// Deletes the rows; a page left without lines gets "// ", so none is ever empty.
// The focus stays on the focused line, or the last line when fewer remain.
EditVerdict deleteLines(TComicFileCtrl& comic, const EditPlace& focused,
                        const std::vector<int>& rows);
// The rows' lines in page order. The page is not changed.
CommandClipboard copyLines(TComicFileCtrl& comic, const EditPlace& page,
                           const std::vector<int>& rows);
// Copies the rows into the clipboard, then deletes them.
EditVerdict cutLines(TComicFileCtrl& comic, const EditPlace& focused, const std::vector<int>& rows,
                     CommandClipboard& clipboard);
// The clipboard's lines, in order, before the focused line; the first of them
// is focused. The clipboard keeps its lines.
EditVerdict pasteLines(TComicFileCtrl& comic, const EditPlace& focused,
                       const CommandClipboard& clipboard);

// --- header ---

// One key of a header block with its value.
struct HeaderEntry {
    std::string block;
    std::string key;
    std::string value;
    bool operator==(const HeaderEntry&) const = default;
};

// A settings dialog's OK: each entry is written in order, a missing block
// appended at the end of the file, all as one step. The focus of a header
// change is the empty place.
EditVerdict writeHeaderKeys(TComicFileCtrl& comic, const std::vector<HeaderEntry>& entries);

// --- variables ---
// A change of the variable table's declarations is one step with the empty
// place as its focus. Names and values must fit on a header line: an empty
// name, a name beginning with "@" (the built-in variables' own), "<" or "//",
// a name with "=" or a line break, and a value with a line break are refused.

// Declares the variable with its initial value: an entry of that name gets
// the value in place, a new name goes last in its block (the block appended
// at the end of the file when there is none). Nothing when the entry holds
// that value already.
EditVerdict declareVariable(TComicFileCtrl& comic, VariableKind kind, std::string_view name,
                            std::string_view value);
// Deletes the variable's entry; nothing when the name is not declared. The
// command lines that use it are left as they are.
EditVerdict deleteVariable(TComicFileCtrl& comic, VariableKind kind, std::string_view name);

// --- renames that update references ---

// Whether a rename rewrites the command lines that refer to the old name.
enum class ReferenceUpdate { Keep, Rewrite };

// What a rename did, and with its references (nothing when it kept them).
struct RenameVerdict {
    EditVerdict verdict;
    ReferenceRewrite references;
};

// Why the variable cannot be renamed, before the user is asked about its
// references: a name left as it was or not declared (unchanged), a name that
// cannot be declared or that holds "%" or "&" (which texts embedding it would
// read as delimiters), a name the name check reports itself (unchanged), a
// name declared already (refused). None when the rename can go ahead.
std::optional<EditVerdict> variableRenameProblem(TComicFileCtrl& comic, TCmdCtrl& syntax,
                                                 VariableKind kind, std::string_view oldName,
                                                 std::string_view newName);
// Renames the variable's entry in its place, its initial value kept, and
// with Rewrite every command line that uses it, all as one step. The focus
// is the empty place.
RenameVerdict renameVariable(TComicFileCtrl& comic, TCmdCtrl& syntax, VariableKind kind,
                             std::string_view oldName, std::string_view newName,
                             ReferenceUpdate update);

// --- books and pages ---

enum class TreeLevel { Root, Book, Page };

// A node of the book and page tree by its names: the root, a book (no page)
// or a page of a book.
struct TreeNode {
    TreeLevel level = TreeLevel::Root;
    std::string book;
    std::string page;

    // The open book, or the open page, of the place.
    static TreeNode openAt(TreeLevel level, const EditPlace& open);
    // The book's or the page's own name.
    const std::string& name() const { return level == TreeLevel::Page ? page : book; }
    // The node of the same level and book under another name.
    TreeNode named(std::string name) const;
    bool operator==(const TreeNode&) const = default;
};

// The start book and page of the comic's header, with their defaults.
std::string startBookOf(const TComicFileCtrl& comic);
std::string startPageOf(const TComicFileCtrl& comic);

// The name proposed for a new book (beside: any book) or a new page of
// beside's book: "ブック" or "ページ" followed by the smallest number from 1
// that no book of the comic, or no page of that book, uses yet.
std::string proposeName(TComicFileCtrl& comic, const TreeNode& beside);

// Adds the book (with its first page) or the page at the end of its book.
// An invalid name is reported by the name check; a name in use is refused.
// The focus is the new book or page.
EditVerdict addNode(TComicFileCtrl& comic, TCmdCtrl& syntax, const TreeNode& node);

// The refusal of renaming the node before its new name is asked: the start
// book, or the start page of the start book, keeps its name.
std::optional<EditMessage> checkRename(TComicFileCtrl& comic, const TreeNode& node);
// Why the node cannot take the name, before the user is asked about its
// references: the refusal of checkRename, its own name or an invalid name
// (unchanged; the name check reports it), a name in use (refused). None
// when the rename can go ahead.
std::optional<EditVerdict> renameProblem(TComicFileCtrl& comic, TCmdCtrl& syntax,
                                         const TreeNode& node, std::string_view name);
// Renames the node after the same checks. The focus is the renamed node.
EditVerdict renameNode(TComicFileCtrl& comic, TCmdCtrl& syntax, const TreeNode& node,
                       std::string_view name);
// What references to the node lead to: the book, or the page of its book.
NameTarget referenceTarget(const TreeNode& node);
// The same rename, and with Rewrite every command line that refers to the
// book or page, all as one step.
RenameVerdict renameNodeAndReferences(TComicFileCtrl& comic, TCmdCtrl& syntax, const TreeNode& node,
                                      std::string_view name, ReferenceUpdate update);

// The refusal of deleting the node, before the user is asked: the last book
// of the comic or page of its book, the start book, the start page.
std::optional<EditMessage> checkDelete(TComicFileCtrl& comic, const TreeNode& node);
// Deletes the node after the same checks. The focus is the first book (with
// no page), or the first page of the node's book.
EditVerdict deleteNode(TComicFileCtrl& comic, const TreeNode& node);

// A move asked for by a drop in the tree: the source book or page goes
// before or after the target page of the target book (moving a page), or
// before or after the target book (moving a book).
struct TreeMove {
    TreeNode source;
    std::string targetBook;
    std::string targetPage;
    bool before = false;

    // A page going to another book, which the user is asked about first.
    bool toAnotherBook() const {
        return source.level == TreeLevel::Page && targetBook != source.book;
    }
    bool operator==(const TreeMove&) const = default;
};

// The move of a dragged node dropped on a target node; none for what does not
// move (the root dragged, a page dropped on the root, an empty comic).
// Dropped on a page: after that page (after its book, for a book). Dropped
// on a book: a page goes to the top of that book, a book after that book.
// Dropped on the root: a book goes to the front.
std::optional<TreeMove> decodeDrop(TComicFileCtrl& comic, const TreeNode& source,
                                   const TreeNode& target);
// The refusal of the move, before the user is asked about another book: the
// last page of its book, a page of that name in the target book, a page
// dropped on itself.
std::optional<EditMessage> checkMove(TComicFileCtrl& comic, const TreeMove& move);
// Moves after the same checks; a book onto itself does not move. The focus
// is the moved page in its new book, or the moved book.
EditVerdict moveNode(TComicFileCtrl& comic, const TreeMove& move);

} // namespace pagora
