#include "cli/check_commands.h"

#include "check/error_check.h"
#include "cli/cli.h"
#include "cli/cli_support.h"
#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/flag_ctrl.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/files.h"

#include <cstdio>
#include <ostream>

namespace pagora {
namespace {

// Texts are written as they are converted: a finding may hold a name as long
// as its line.
void writeText(std::ostream& out, std::string_view cp932) {
    writeUtf8(cp932, [&out](std::string_view utf8) { out << utf8; });
}

void writeJsonString(std::ostream& out, std::string_view cp932) {
    out << '"';
    writeUtf8(cp932, [&out](std::string_view utf8) {
        for (const char c : utf8) {
            if (c == '"' || c == '\\') {
                out << '\\' << c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out << escaped;
            } else {
                out << c;
            }
        }
    });
    out << '"';
}

void printFindings(const TErrorCheck& check, std::ostream& out) {
    for (int i = 0; i < check.ErrorCount; ++i) {
        const TErrorItem& item = check.ErrorItems[static_cast<std::size_t>(i)];
        out << ErrorLevelText(item);
        writeText(out, item.Message);
        out << '\t';
        writeText(out, item.BookName);
        out << '\t';
        writeText(out, item.PageName);
        out << '\t' << item.LineIndex << '\n';
    }
}

void printFindingsAsJson(const TErrorCheck& check, std::ostream& out) {
    out << '[';
    for (int i = 0; i < check.ErrorCount; ++i) {
        const TErrorItem& item = check.ErrorItems[static_cast<std::size_t>(i)];
        out << (i == 0 ? "\n" : ",\n") << "  {\"message\": ";
        writeJsonString(out, item.Message);
        out << ", \"level\": " << int{item.Level} << ", \"book\": ";
        writeJsonString(out, item.BookName);
        out << ", \"page\": ";
        writeJsonString(out, item.PageName);
        out << ", \"line\": " << item.LineIndex << '}';
    }
    out << (check.ErrorCount == 0 ? "]\n" : "\n]\n");
}

bool anyError(const TErrorCheck& check) {
    for (int i = 0; i < check.ErrorCount; ++i)
        if (check.ErrorItems[static_cast<std::size_t>(i)].Level == kError)
            return true;
    return false;
}

} // namespace

int runCheck(const ParsedArguments& parsed, CliContext& context) {
    const std::filesystem::path file = std::filesystem::absolute(parsed.positional[0]);
    TComicFileCtrl comic(context.prompter);
    loadComicAsEditor(comic, file, context);
    SystemClock clock;
    SystemRandom random;
    TFlagCtrl flags(comic, context.prompter, clock, random);
    flags.LoadFlags();
    TCmdCtrl syntax(context.prompter);
    TErrorCheck check(comic, syntax, flags, context.prompter);
    if (context.errIsTerminal)
        check.OnPageStart = [&context](const std::string& book, const std::string& page) {
            context.err << "\r\x1b[K" << toUtf8(CheckProgressText(book, page)) << std::flush;
        };
    check.Initialize(comicFolder(file));
    check.CheckAll();
    if (context.errIsTerminal)
        context.err << "\r\x1b[K" << std::flush;
    if (parsed.has("--json"))
        printFindingsAsJson(check, context.out);
    else
        printFindings(check, context.out);
    return anyError(check) ? kExitProblems : kExitDone;
}

} // namespace pagora
