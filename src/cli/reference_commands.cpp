#include "cli/reference_commands.h"

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "document/cmd_ctrl.h"
#include "document/comic_editing.h"
#include "document/comic_file.h"
#include "document/comic_find.h"
#include "document/comic_rules.h"
#include "platform/encoding.h"

#include <algorithm>
#include <iterator>
#include <ostream>
#include <tuple>

namespace pagora {
namespace {

// One found line: book, page, line index and text, separated by tabs.
int printFound(const std::vector<FoundLine>& found, CliContext& context) {
    for (const FoundLine& line : found)
        context.out << toUtf8(line.book) << '\t' << toUtf8(line.page) << '\t' << line.line << '\t'
                    << toUtf8(line.text) << '\n';
    return found.empty() ? kExitProblems : kExitDone;
}

// Exactly one of the options names what the command works on; --page takes
// one more positional argument than the others.
std::string chosenOption(const ParsedArguments& parsed, std::initializer_list<const char*> options,
                         std::size_t positional, std::size_t positionalWithPage) {
    std::string chosen;
    for (const char* option : options) {
        if (!parsed.has(option))
            continue;
        if (!chosen.empty() || parsed.values(option).size() > 1)
            throw UsageError("give exactly one of the names");
        chosen = option;
    }
    if (chosen.empty())
        throw UsageError("give one of the names");
    if (parsed.positional.size() != (chosen == "--page" ? positionalWithPage : positional))
        throw UsageError("wrong number of arguments");
    return chosen;
}

// The kinds of variable the comic declares under the name.
std::vector<VariableKind> declaredKinds(const TComicFileCtrl& comic, const std::string& name) {
    std::vector<VariableKind> kinds;
    for (const VariableKind kind : {VariableKind::Numeric, VariableKind::String}) {
        const std::vector<std::string> names = comic.GetHeaderKeys(variableBlock(kind));
        if (std::find(names.begin(), names.end(), name) != names.end())
            kinds.push_back(kind);
    }
    return kinds;
}

// The references of both kinds of variable of the name, in file order.
std::vector<FoundLine> variableReferences(const TComicFileCtrl& comic, const std::string& name) {
    std::vector<FoundLine> numeric = findReferences(comic, {NameKind::NumericVariable, name});
    const std::vector<FoundLine> string = findReferences(comic, {NameKind::StringVariable, name});
    std::vector<FoundLine> all;
    std::set_union(numeric.begin(), numeric.end(), string.begin(), string.end(),
                   std::back_inserter(all), [&](const FoundLine& a, const FoundLine& b) {
                       return std::tie(a.book, a.page, a.line) < std::tie(b.book, b.page, b.line);
                   });
    return all;
}

// Reports the outcome of a rename; true when it was done.
bool reportRename(const RenameVerdict& renamed, const std::string& fileName, CliContext& context) {
    if (renamed.verdict.refusal)
        context.prompter.message(renamed.verdict.refusal->kind, renamed.verdict.refusal->text,
                                 Buttons::Ok);
    if (!renamed.verdict.done())
        return false;
    context.out << "rewritten\t" << renamed.references.rewritten << '\n';
    for (const EditPlace& place : renamed.references.leftAlone)
        context.prompter.report(MessageKind::Warning,
                                fileName + ": " + toUtf8(place.book) + "/" + toUtf8(place.page) +
                                    ":" + std::to_string(place.line) +
                                    ": not rewritten: the line does not read whole or is not "
                                    "written as the editor writes it");
    return true;
}

} // namespace

int runFind(const ParsedArguments& parsed, CliContext& context) {
    TComicFileCtrl comic(context.prompter);
    loadComicAsEditor(comic, parsed.positional[0], context);
    const FindOptions options{parsed.has("--match-case"), parsed.has("--raw")};
    return printFound(findText(comic, toCp932(parsed.positional[1]), options), context);
}

int runRefs(const ParsedArguments& parsed, CliContext& context) {
    const std::string option =
        chosenOption(parsed, {"--page", "--book", "--variable", "--file"}, 1, 2);
    TComicFileCtrl comic(context.prompter);
    loadComicAsEditor(comic, parsed.positional[0], context);
    const std::string name = toCp932(parsed.value(option, ""));
    if (option == "--page")
        return printFound(
            findReferences(comic, {NameKind::Page, toCp932(parsed.positional[1]), name}), context);
    if (option == "--book")
        return printFound(findReferences(comic, {NameKind::Book, name}), context);
    if (option == "--file")
        return printFound(findReferences(comic, {NameKind::File, name}), context);
    return printFound(variableReferences(comic, name), context);
}

int runRename(const ParsedArguments& parsed, CliContext& context) {
    const std::string option = chosenOption(parsed, {"--page", "--book", "--variable"}, 2, 3);
    TComicFileCtrl comic(context.prompter);
    const std::string fileName = parsed.positional[0];
    loadComicAsEditor(comic, fileName, context);
    TCmdCtrl syntax(context.prompter);
    const std::string first = toCp932(parsed.value(option, ""));
    const std::string newName = toCp932(parsed.positional.back());
    bool done = false;
    if (option == "--variable") {
        const std::vector<VariableKind> kinds = declaredKinds(comic, first);
        if (kinds.empty())
            throw UsageError("no variable of that name");
        // Both kinds of the name are renamed, or neither.
        for (const VariableKind kind : kinds)
            if (std::optional<EditVerdict> problem =
                    variableRenameProblem(comic, syntax, kind, first, newName)) {
                reportRename({*problem, {}}, fileName, context);
                return kExitProblems;
            }
        for (const VariableKind kind : kinds)
            done = reportRename(
                renameVariable(comic, syntax, kind, first, newName, ReferenceUpdate::Rewrite),
                fileName, context);
    } else {
        const TreeNode node = option == "--page"
                                  ? TreeNode{TreeLevel::Page, first, toCp932(parsed.positional[1])}
                                  : TreeNode{TreeLevel::Book, first, {}};
        if (option == "--page" ? !comic.PageExists(node.book, node.page)
                               : !comic.BookExists(node.book))
            throw UsageError("no such book or page");
        done = reportRename(
            renameNodeAndReferences(comic, syntax, node, newName, ReferenceUpdate::Rewrite),
            fileName, context);
    }
    if (!done)
        return kExitProblems;
    StampForSave(comic);
    comic.SaveToFile(parsed.value("-o", fileName));
    return kExitDone;
}

} // namespace pagora
