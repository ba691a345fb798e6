#include "cli/script_commands.h"

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/comic_rules.h"
#include "platform/encoding.h"
#include "platform/errors.h"

#include <functional>
#include <ostream>

namespace pagora {
namespace {

using PageVisitor = std::function<void(const std::string& book, const std::string& page)>;

// Visits every page in document order, or those of the named book and page.
// Returns false when a name was given and matched nothing.
bool forEachPage(TComicFileCtrl& comic, const ParsedArguments& parsed, const PageVisitor& visit) {
    const std::optional<std::string> book =
        parsed.has("--book") ? std::optional(toCp932(parsed.value("--book", ""))) : std::nullopt;
    const std::optional<std::string> page =
        parsed.has("--page") ? std::optional(toCp932(parsed.value("--page", ""))) : std::nullopt;
    bool visited = false;
    for (const std::string& bookName : comic.GetBookList()) {
        if (book && bookName != *book)
            continue;
        for (const std::string& pageName : comic.GetPageList(bookName)) {
            if (page && pageName != *page)
                continue;
            visit(bookName, pageName);
            visited = true;
        }
    }
    return visited || (!book && !page);
}

std::string place(const std::string& book, const std::string& page, int index) {
    return toUtf8(book) + "/" + toUtf8(page) + ":" + std::to_string(index);
}

std::string marks(const TCmdRef& ref) {
    std::string text;
    if (ref.HasCondition)
        text += 'C';
    if (ref.HasTimeLimit)
        text += 'T';
    return text.empty() ? "-" : text;
}

// The line as the editor writes it after reading it; lines without a record
// stay as they are.
std::string formatted(TCmdCtrl& syntax, const std::string& line) {
    const CmdRecord record = syntax.ParseCommand(line);
    return std::holds_alternative<std::monostate>(record) ? line : syntax.BuildCommand(record);
}

} // namespace

int runOutline(const ParsedArguments& parsed, CliContext& context) {
    TComicFileCtrl comic(context.prompter);
    loadComicAsEditor(comic, parsed.positional[0], context);
    TCmdCtrl syntax(context.prompter);
    const bool found =
        forEachPage(comic, parsed, [&](const std::string& book, const std::string& page) {
            context.out << "# " << toUtf8(book) << " / " << toUtf8(page) << '\n';
            const int count = comic.GetCommandCount(book, page);
            for (int index = 0; index < count; ++index) {
                const std::string line = comic.GetCommand(book, page, index);
                context.out << index << '\t' << static_cast<int>(TCmdCtrl::GetCommandKind(line))
                            << '\t';
                try {
                    const TCmdRef ref = syntax.MakeCmdRef(line);
                    context.out << marks(ref) << '\t' << toUtf8(ref.Text) << '\n';
                } catch (const ConversionError& error) {
                    context.out << "!\t" << toUtf8(error.what()) << '\n';
                }
            }
        });
    if (!found)
        throw UsageError("no such book or page");
    return kExitDone;
}

int runFmt(const ParsedArguments& parsed, CliContext& context) {
    const bool checkOnly = parsed.has("--check");
    TComicFileCtrl comic(context.prompter);
    loadComicAsEditor(comic, parsed.positional[0], context);
    TCmdCtrl syntax(context.prompter);
    int changed = 0, unreadable = 0;
    forEachPage(comic, parsed, [&](const std::string& book, const std::string& page) {
        const int count = comic.GetCommandCount(book, page);
        for (int index = 0; index < count; ++index) {
            const std::string line = comic.GetCommand(book, page, index);
            try {
                const std::string rewritten = formatted(syntax, line);
                if (rewritten == line)
                    continue;
                ++changed;
                if (checkOnly)
                    context.out << place(book, page, index) << ": " << toUtf8(line) << " -> "
                                << toUtf8(rewritten) << '\n';
                else
                    comic.SetCommand(book, page, rewritten, index);
            } catch (const ConversionError& error) {
                ++unreadable;
                context.prompter.report(MessageKind::Warning,
                                        place(book, page, index) + ": " + toUtf8(error.what()));
            }
        }
    });
    if (!checkOnly) {
        StampForSave(comic);
        comic.SaveToFile(parsed.value("-o", parsed.positional[0]));
    }
    return (checkOnly && changed > 0) || unreadable > 0 ? kExitProblems : kExitDone;
}

} // namespace pagora
