#include "cli/cli.h"

#include "cli/check_commands.h"
#include "cli/cli_support.h"
#include "cli/comic_commands.h"
#include "cli/image_commands.h"
#include "cli/package_commands.h"
#include "cli/play_command.h"
#include "cli/reference_commands.h"
#include "cli/script_commands.h"
#include "platform/errors.h"

#include <optional>
#include <ostream>
#include <set>
#include <string_view>

namespace pagora {
namespace {

using CommandFunction = int (*)(const ParsedArguments&, CliContext&);

// What a command accepts: options that take a value, flags, and how many
// positional arguments.
struct ArgumentRules {
    std::set<std::string> withValue;
    std::set<std::string> flags;
    std::size_t minPositional;
    std::size_t maxPositional;
    std::set<std::string> withTwoValues = {};
};

struct CliCommand {
    std::string_view name;
    std::string_view usage;
    ArgumentRules rules;
    CommandFunction run;
};

const CliCommand kCommands[] = {
    {"tree", "tree FILE.csf", {{}, {}, 1, 1}, runTree},
    {"resave", "resave FILE.csf [OUT.csf]", {{}, {}, 1, 2}, runResave},
    {"new", "new OUT.csf [--user NAME]", {{"--user"}, {}, 1, 1}, runNew},
    {"outline",
     "outline FILE.csf [--book BOOK] [--page PAGE]",
     {{"--book", "--page"}, {}, 1, 1},
     runOutline},
    {"fmt", "fmt FILE.csf [-o OUT.csf] [--check]", {{"-o"}, {"--check"}, 1, 1}, runFmt},
    {"check", "check FILE.csf [--json]", {{}, {"--json"}, 1, 1}, runCheck},
    {"find",
     "find FILE.csf TEXT [--match-case] [--raw]",
     {{}, {"--match-case", "--raw"}, 2, 2},
     runFind},
    {"refs",
     "refs FILE.csf (--page BOOK PAGE | --book BOOK | --variable NAME | --file NAME)",
     {{"--page", "--book", "--variable", "--file"}, {}, 1, 2},
     runRefs},
    {"rename",
     "rename FILE.csf (--page BOOK OLD NEW | --book OLD NEW | --variable OLD NEW) [-o OUT.csf]",
     {{"--page", "--book", "--variable", "-o"}, {}, 2, 3},
     runRename},
    {"mag2bmp", "mag2bmp IN.mag OUT.bmp", {{}, {}, 2, 2}, runMag2Bmp},
    {"imginfo", "imginfo FILE [--plugins DIR]", {{"--plugins"}, {}, 1, 1}, runImgInfo},
    {"pack", "pack FILE.csf OUT.cpf [--compress NAME]...", {{"--compress"}, {}, 2, 2}, runPack},
    {"ls", "ls ARCHIVE.cpf", {{}, {}, 1, 1}, runLs},
    {"unpack", "unpack ARCHIVE.cpf DIR [--max-size BYTES]", {{"--max-size"}, {}, 2, 2}, runUnpack},
    {"play",
     "play FILE.csf [--from BOOK PAGE] [--answers FILE] [--seed N] [--clock TIME] "
     "[--max-events N]",
     {{"--answers", "--seed", "--clock", "--max-events"}, {}, 1, 1, {"--from"}},
     runPlay},
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

// The arguments after the command's name, as the command reads them.
ParsedArguments parseCommandArguments(const CliCommand& command,
                                      const std::vector<std::string>& arguments) {
    const ArgumentRules& rules = command.rules;
    return parseArguments({arguments.begin() + 1, arguments.end()}, rules.withValue, rules.flags,
                          rules.minPositional, rules.maxPositional, rules.withTwoValues);
}

} // namespace

std::optional<ParsedArguments> parseCliArguments(const std::vector<std::string>& arguments) {
    const CliCommand* command = arguments.empty() ? nullptr : findCommand(arguments[0]);
    if (!command)
        return std::nullopt;
    return parseCommandArguments(*command, arguments);
}

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
        return command->run(parseCommandArguments(*command, arguments), context);
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
