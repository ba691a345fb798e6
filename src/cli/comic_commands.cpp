#include "cli/comic_commands.h"

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "document/comic_file.h"
#include "document/comic_rules.h"
#include "platform/encoding.h"

#include <ostream>

namespace pagora {
namespace {

// Why new must not write target, which it never overwrites: a file is there,
// or a link that a save would write through. Empty when target is free.
std::string whyNotNew(const std::filesystem::path& target) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(target, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return {};
    if (error)
        return target.string() + ": " + error.message();
    if (status.type() == std::filesystem::file_type::symlink &&
        !std::filesystem::exists(target, error))
        return target.string() + " is a symbolic link to " +
               std::filesystem::read_symlink(target, error).string() + ", which does not exist";
    return target.string() + " already exists";
}

} // namespace

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
    if (const std::string refusal = whyNotNew(target); !refusal.empty()) {
        context.prompter.report(MessageKind::Error, refusal + "; it is left as it is");
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
