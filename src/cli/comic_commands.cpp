#include "cli/comic_commands.h"

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "document/comic_file.h"
#include "document/comic_rules.h"
#include "platform/encoding.h"

#include <ostream>

namespace pagora {

int runTree(const ParsedArguments& parsed, CliContext& context) {
    TComicFileCtrl comic(context.prompter);
    loadComicAsEditor(comic, parsed.positional[0], context);
    for (const std::string& book : comic.GetBookList()) {
        context.out << toUtf8(book) << '\n';
        for (const std::string& page : comic.GetPageList(book))
            context.out << "  " << toUtf8(page) << " (" << comic.GetCommandCount(book, page)
                        << ")\n";
    }
    return kExitDone;
}

int runResave(const ParsedArguments& parsed, CliContext& context) {
    TComicFileCtrl comic(context.prompter);
    loadComicAsEditor(comic, parsed.positional[0], context);
    StampForSave(comic);
    comic.SaveToFile(parsed.positional.back());
    return kExitDone;
}

int runNew(const ParsedArguments& parsed, CliContext& context) {
    const std::filesystem::path target = parsed.positional[0];
    std::error_code error;
    if (std::filesystem::exists(target, error)) {
        context.prompter.report(MessageKind::Error,
                                target.string() + " already exists; it is left as it is");
        return kExitFailure;
    }
    TComicFileCtrl comic(context.prompter);
    SetEditorFileHead(comic);
    StartNewComic(comic, toCp932(parsed.value("--user", "Pagora User")));
    StampForSave(comic);
    comic.SaveToFile(target);
    return kExitDone;
}

} // namespace pagora
