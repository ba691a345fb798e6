#include "cli/cli.h"

#include "cli/check_commands.h"
#include "cli/cli_support.h"
#include "cli/comic_commands.h"
#include "cli/image_commands.h"
#include "cli/package_commands.h"
#include "cli/script_commands.h"
#include "platform/errors.h"

#include <ostream>
#include <string_view>

namespace pagora {
namespace {

using CommandFunction = int (*)(const std::vector<std::string>&, CliContext&);

struct CliCommand {
    std::string_view name;
    std::string_view usage;
    CommandFunction run;
};

constexpr CliCommand kCommands[] = {
    {"tree", "tree FILE.csf", runTree},
    {"resave", "resave FILE.csf [OUT.csf]", runResave},
    {"new", "new OUT.csf [--user NAME]", runNew},
    {"outline", "outline FILE.csf [--book BOOK] [--page PAGE]", runOutline},
    {"fmt", "fmt FILE.csf [-o OUT.csf] [--check]", runFmt},
    {"check", "check FILE.csf [--json]", runCheck},
    {"mag2bmp", "mag2bmp IN.mag OUT.bmp", runMag2Bmp},
    {"imginfo", "imginfo FILE [--plugins DIR]", runImgInfo},
    {"pack", "pack FILE.csf OUT.cpf [--compress NAME]...", runPack},
    {"ls", "ls ARCHIVE.cpf", runLs},
    {"unpack", "unpack ARCHIVE.cpf DIR [--max-size BYTES]", runUnpack},
};

void printUsage(std::ostream& err) {
    err << "usage: pagora-cli COMMAND ARGUMENTS\n";
    for (const CliCommand& command : kCommands)
        err << "  pagora-cli " << command.usage << '\n';
}

const CliCommand* findCommand(std::string_view name) {
    for (const CliCommand& command : kCommands)
        if (command.name == name)
            return &command;
    return nullptr;
}

} // namespace

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           bool errIsTerminal) {
    ConsolePrompter prompter(err);
    CliContext context{out, err, errIsTerminal, prompter};
    const CliCommand* command = arguments.empty() ? nullptr : findCommand(arguments[0]);
    if (!command) {
        printUsage(err);
        return kExitFailure;
    }
    try {
        return command->run({arguments.begin() + 1, arguments.end()}, context);
    } catch (const UsageError& error) {
        prompter.report(MessageKind::Error, error.what());
        err << "usage: pagora-cli " << command->usage << '\n';
    } catch (const ConversionError& error) {
        prompter.error(error.what()); // CP932, like every message of the core
    } catch (const std::exception& error) {
        // Unreadable files, failed saves and encoding errors, in UTF-8.
        prompter.report(MessageKind::Error, error.what());
    }
    return kExitFailure;
}

} // namespace pagora
