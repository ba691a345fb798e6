#include "cli/package_commands.h"

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/descriptor_output.h"
#include "document/comic_file.h"
#include "package/file_names.h"
#include "package/lfile_reader.h"
#include "package/package_builder.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/message_line.h"
#include "platform/scripted_prompter.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <ostream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pagora {
namespace {

// An entry name as the console shows it: decoded, with control characters escaped.
std::string printable(std::string_view cp932Name) {
    return escapeControls(toUtf8(cp932Name));
}

std::string inQuotes(std::string_view cp932Name) {
    return "\"" + printable(cp932Name) + "\"";
}

constexpr std::uint64_t kDefaultMaxEntrySize = std::uint64_t{512} << 20;
// Past this many entries reported as not written, unpack gives up on the rest.
constexpr int kMostReportedEntries = 100;
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

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

// Why an entry name (decoded) cannot be a file of the folder it is unpacked
// into; empty when it can.
std::string unsafeNameReason(std::string_view name) {
    if (name == "." || name == "..")
        return "its name leaves the folder";
    if (name.find_first_of("/\\") != std::string::npos)
        return "its name holds a folder separator";
    if (name.find(kReplacementCharacter) != std::string_view::npos)
        return "its name holds bytes that are not Shift-JIS";
    return {};
}

std::uint64_t maxSizeOption(const ParsedArguments& parsed) {
    const std::string text = parsed.value("--max-size", std::to_string(kDefaultMaxEntrySize));
    std::uint64_t bytes = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
    if (error != std::errc() || end != text.data() + text.size())
        throw UsageError("--max-size needs a number of bytes, not " + text);
    return bytes;
}

// Why an entry was not written, and for a failure of the system a second
// line with the file and the system's reason.
struct NotWritten {
    std::string reason;
    std::string cause;
};

NotWritten systemFailure(std::string reason, const fs::path& file, FileAction action,
                         int errorNumber) {
    return {std::move(reason), IoError(file, action, errorNumber).what()};
}

// Writes entry index into the open temporary file descriptor.
std::optional<NotWritten> writeEntry(LFileReader& reader, std::uint32_t index, int descriptor,
                                     const fs::path& target, std::uint64_t maxSize) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(descriptor, 0666 & ~mask) != 0) {
        const int errorNumber = errno;
        return systemFailure("cannot write a file", target, FileAction::Write, errorNumber);
    }
    DescriptorOutput output(descriptor);
    std::ostream stream(&output);
    if (reader.ExtractIndex(index, stream, maxSize))
        return std::nullopt;
    if (output.errorNumber() != 0)
        return systemFailure(reader.Error(), target, FileAction::Write, output.errorNumber());
    return NotWritten{reader.Error(), reader.Cause()};
}

// Writes the entry to target through a temporary file in the same folder,
// renamed over target once complete: a damaged or oversized entry leaves
// nothing, and a link already at target is replaced, not followed.
std::optional<NotWritten> extractInto(LFileReader& reader, std::uint32_t index,
                                      const fs::path& target, std::uint64_t maxSize) {
    std::string temporary = (target.parent_path() / ".pagora-unpack-XXXXXX").string();
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        const int errorNumber = errno;
        return systemFailure(std::string("cannot create a file: ") + std::strerror(errorNumber),
                             temporary, FileAction::Open, errorNumber);
    }
    std::optional<NotWritten> failure = writeEntry(reader, index, descriptor, target, maxSize);
    if (::close(descriptor) != 0 && !failure) {
        const int errorNumber = errno;
        failure = systemFailure("cannot write a file", target, FileAction::Write, errorNumber);
    }
    if (!failure && ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int errorNumber = errno;
        failure = systemFailure("cannot write a file", target, FileAction::Write, errorNumber);
    }
    if (failure)
        ::unlink(temporary.c_str());
    return failure;
}

// Writes the entries of an archive into a folder, each under its decoded
// name, and reports every entry it does not write.
class Unpacker {
public:
    Unpacker(LFileReader& reader, fs::path folder, std::uint64_t maxSize, CliContext& context)
        : reader_(reader)
        , folder_(std::move(folder))
        , maxSize_(maxSize)
        , context_(context) {}

    // False when the entry is not written (it has been reported).
    bool unpack(std::uint32_t index, const LFileEntry& entry) {
        const std::string name = toUtf8(FieldText(entry.Name));
        const std::string label =
            "entry " + std::to_string(index) + " " + inQuotes(FieldText(entry.Name));
        if (const std::string reason = unsafeNameReason(name); !reason.empty()) {
            context_.prompter.report(MessageKind::Error, label + " is refused: " + reason);
            return false;
        }
        if (written_.count(name)) {
            context_.prompter.report(MessageKind::Warning,
                                     label + " is not written: an earlier entry has its name");
            return false;
        }
        if (const auto failure = extractInto(reader_, index, folder_ / name, maxSize_)) {
            context_.prompter.report(MessageKind::Error,
                                     label + " is not written: " + failure->reason);
            if (!failure->cause.empty())
                context_.prompter.report(MessageKind::Error, failure->cause);
            return false;
        }
        written_.insert(name);
        context_.out << escapeControls(name) << '\n';
        return true;
    }

private:
    LFileReader& reader_;
    fs::path folder_;
    std::uint64_t maxSize_;
    CliContext& context_;
    std::set<std::string> written_; // decoded names, as they are written
};

// Reports the reader's last failure, and on a second line its cause when the
// system or zlib gave one.
void reportReaderFailure(const std::string& what, const LFileReader& reader, CliContext& context) {
    context.prompter.report(MessageKind::Error, what + reader.Error());
    if (!reader.Cause().empty())
        context.prompter.report(MessageKind::Error, reader.Cause());
}

// Opens the archive and checks its directory; reports why when either fails.
bool openArchive(LFileReader& reader, const std::string& path, CliContext& context) {
    if (!reader.Open(path)) {
        reportReaderFailure(path + ": ", reader, context);
        return false;
    }
    if (!reader.CheckDirectory()) {
        reportReaderFailure(path + ": the directory is refused: ", reader, context);
        return false;
    }
    return true;
}

// Makes the folder to unpack into; reports why when it cannot.
bool makeFolder(const fs::path& folder, CliContext& context) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error)
        return true;
    context.prompter.report(MessageKind::Error,
                            "cannot make the folder to unpack into: " + folder.string());
    context.prompter.report(MessageKind::Error,
                            IoError(folder, FileAction::Write, error.value()).what());
    return false;
}

// The data folder as the editor hands it to the package wizard: from the
// comic's header. The gathering reads the file again and reports on it, so
// this copy goes before it.
std::string dataDirectoryOf(const fs::path& comicFile) {
    ScriptedPrompter quiet;
    TComicFileCtrl comic(quiet);
    comic.LoadFromFile(comicFile);
    return comic.ReadHeader("Comic", "DataDirectory", "");
}

} // namespace

int runPack(const ParsedArguments& parsed, CliContext& context) {
    const fs::path comicFile = fs::absolute(parsed.positional[0]);
    const fs::path archive = parsed.positional[1];

    TPackageBuilder builder(context.prompter, comicFile, dataDirectoryOf(comicFile));
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
    if (!openArchive(reader, path, context))
        return kExitFailure;
    context.out << printable(FieldText(reader.Header.Magic)) << '\t' << reader.Count << '\n';
    for (std::uint32_t index = 0; index < reader.Count; ++index) {
        LFileEntry entry;
        if (!reader.ReadEntry(index, entry)) {
            reportReaderFailure(path + ": ", reader, context);
            return kExitFailure;
        }
        context.out << printable(FieldText(entry.Name)) << '\t' << hex8(entry.Flags) << '\t'
                    << entry.Offset << '\t' << entry.Size << '\n';
    }
    return kExitDone;
}

int runUnpack(const ParsedArguments& parsed, CliContext& context) {
    const std::string& path = parsed.positional[0];
    const fs::path folder = parsed.positional[1];
    const std::uint64_t maxSize = maxSizeOption(parsed);
    LFileReader reader(context.prompter);
    if (!openArchive(reader, path, context) || !makeFolder(folder, context))
        return kExitFailure;

    Unpacker unpacker(reader, folder, maxSize, context);
    int reported = 0;
    for (std::uint32_t index = 0; index < reader.Count; ++index) {
        if (reported == kMostReportedEntries) {
            context.prompter.report(MessageKind::Warning, std::to_string(reader.Count - index) +
                                                              " more entries are skipped after " +
                                                              std::to_string(kMostReportedEntries) +
                                                              " damaged ones");
            break;
        }
        LFileEntry entry;
        if (!reader.ReadEntry(index, entry)) {
            reportReaderFailure(path + ": ", reader, context);
            return kExitFailure;
        }
        if (!unpacker.unpack(index, entry))
            ++reported;
    }
    return reported > 0 ? kExitProblems : kExitDone;
}

} // namespace pagora
