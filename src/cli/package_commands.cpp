#include "cli/package_commands.h"

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "document/comic_file.h"
#include "package/file_names.h"
#include "package/lfile_reader.h"
#include "package/package_builder.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <ostream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pagora {
namespace {

std::string inQuotes(std::string_view cp932Name) {
    return "\"" + toUtf8(cp932Name) + "\"";
}

// Marks the stored files of each name (a file name, folders ignored) for compression.
void markCompressed(TPackageBuilder& builder, const std::vector<std::string>& utf8Names,
                    CliContext& context) {
    for (const std::string& utf8Name : utf8Names) {
        const std::string name(ScriptFileNamePart(toCp932(utf8Name)));
        bool found = false;
        for (TPackageFile& file : builder.LinkList) {
            if (SameNameIgnoringCase(file.Name, name)) {
                file.Flag = 1;
                found = true;
            }
        }
        if (!found)
            context.prompter.report(MessageKind::Warning,
                                    utf8Name + " is not among the files to store; --compress "
                                               "leaves it alone");
    }
}

void reportFailures(const std::vector<TPackageFailure>& failures, std::string_view what,
                    CliContext& context) {
    for (const TPackageFailure& failure : failures)
        context.prompter.report(MessageKind::Warning, inQuotes(failure.File.Name) + " " +
                                                          std::string(what) + ": " +
                                                          failure.Reason);
}

std::string hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

// Why an entry name cannot be a file of the folder it is unpacked into; empty when it can.
std::string unsafeNameReason(std::string_view cp932Name) {
    const std::string name = toUtf8(cp932Name);
    if (name.empty())
        return "it has no name";
    if (name == "." || name == "..")
        return "its name leaves the folder";
    if (name.find_first_of("/\\") != std::string::npos)
        return "its name holds a folder separator";
    return {};
}

// Writes the current entry to target through a temporary file in the same
// folder, renamed over target once complete: a damaged entry leaves nothing,
// and a link already at target is replaced, not followed.
bool extractInto(LFileReader& reader, std::uint32_t index, const fs::path& target,
                 std::string& reason) {
    std::string temporary = (target.parent_path() / ".pagora-unpack-XXXXXX").string();
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        reason = std::string("cannot create a file: ") + std::strerror(errno);
        return false;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const bool modeSet = ::fchmod(descriptor, 0666 & ~mask) == 0;
    ::close(descriptor);
    std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
    bool ok = modeSet && stream && reader.ExtractIndex(index, stream);
    if (!ok)
        reason = modeSet && stream ? reader.Error() : "cannot write a file";
    stream.close();
    if (ok && !stream) {
        ok = false;
        reason = "cannot write a file";
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        reason = std::string("cannot write ") + target.string() + ": " + std::strerror(errno);
    }
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

} // namespace

int runPack(const ParsedArguments& parsed, CliContext& context) {
    const fs::path comicFile = fs::absolute(parsed.positional[0]);
    const fs::path archive = parsed.positional[1];

    // The data folder as the editor hands it to the package wizard: from the
    // comic's header. The gathering reads the file again and reports on it.
    ScriptedPrompter quiet;
    TComicFileCtrl comic(quiet);
    comic.LoadFromFile(comicFile);
    TPackageBuilder builder(context.prompter, comicFile,
                            comic.ReadHeader("Comic", "DataDirectory", ""));
    builder.CollectFiles();
    markCompressed(builder, parsed.values("--compress"), context);

    if (context.errIsTerminal)
        builder.OnProgress = [&context](const TPackageFile& file, int position, int maximum) {
            context.err << "\r\x1b[K" << position + 1 << '/' << maximum + 1 << ' '
                        << toUtf8(file.Name) << std::flush;
        };
    const bool written = builder.BuildPackage(archive);
    if (context.errIsTerminal)
        context.err << "\r\x1b[K" << std::flush;
    reportFailures(builder.NotStored, "is not stored in the archive", context);
    // The loose files belong to the archive: without it they are left where they are.
    if (!written)
        return kExitFailure;
    builder.CopyFiles(archive);
    reportFailures(builder.NotCopied, "is not copied beside the archive", context);
    return kExitDone;
}

int runLs(const ParsedArguments& parsed, CliContext& context) {
    const std::string& path = parsed.positional[0];
    LFileReader reader(context.prompter);
    if (!reader.Open(path)) {
        context.prompter.report(MessageKind::Error, path + ": " + reader.Error());
        return kExitFailure;
    }
    context.out << toUtf8(FieldText(reader.Header.Magic)) << '\t' << reader.Count << '\n';
    const std::uint64_t fileSize = reader.FileSize();
    bool damaged = false;
    for (std::uint32_t index = 0; index < reader.Count; ++index) {
        LFileEntry entry;
        if (!reader.ReadEntry(index, entry)) {
            context.prompter.report(MessageKind::Error, path + ": " + reader.Error());
            return kExitFailure;
        }
        context.out << toUtf8(FieldText(entry.Name)) << '\t' << hex8(entry.Flags) << '\t'
                    << entry.Offset << '\t' << entry.Size << '\n';
        if (reader.DataStart + entry.Offset + entry.Size > fileSize) {
            context.prompter.report(MessageKind::Warning, "the data of entry " +
                                                              inQuotes(FieldText(entry.Name)) +
                                                              " passes the end of the archive");
            damaged = true;
        }
    }
    return damaged ? kExitProblems : kExitDone;
}

int runUnpack(const ParsedArguments& parsed, CliContext& context) {
    const std::string& path = parsed.positional[0];
    const fs::path folder = parsed.positional[1];
    LFileReader reader(context.prompter);
    if (!reader.Open(path)) {
        context.prompter.report(MessageKind::Error, path + ": " + reader.Error());
        return kExitFailure;
    }
    fs::create_directories(folder);

    std::set<std::string> seen;
    bool problems = false;
    for (std::uint32_t index = 0; index < reader.Count; ++index) {
        LFileEntry entry;
        if (!reader.ReadEntry(index, entry)) {
            context.prompter.report(MessageKind::Error, path + ": " + reader.Error());
            return kExitFailure;
        }
        const std::string name(FieldText(entry.Name));
        const std::string label = "entry " + std::to_string(index) + " " + inQuotes(name);
        if (const std::string reason = unsafeNameReason(name); !reason.empty()) {
            context.prompter.report(MessageKind::Error, label + " is refused: " + reason);
            problems = true;
            continue;
        }
        if (!seen.insert(name).second) {
            context.prompter.report(MessageKind::Warning,
                                    label + " is not written: an earlier entry has its name");
            problems = true;
            continue;
        }
        std::string reason;
        if (!extractInto(reader, index, folder / toUtf8(name), reason)) {
            context.prompter.report(MessageKind::Error, label + " is not written: " + reason);
            problems = true;
            continue;
        }
        context.out << toUtf8(name) << '\n';
    }
    return problems ? kExitProblems : kExitDone;
}

} // namespace pagora
