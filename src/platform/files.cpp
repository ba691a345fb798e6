#include "platform/files.h"

#include "platform/comic_file_lookup.h"
#include "platform/errors.h"
#include "platform/file_descriptor.h"
#include "platform/file_lookup.h"
#include "platform/temporary_files.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pagora {
namespace {

void writeAll(int fd, std::string_view bytes, const fs::path& path) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(path, FileAction::Write, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Reads to the end of an open file, refusing more than largest bytes.
std::string readToEnd(int fd, const fs::path& path, std::size_t expected, std::uint64_t largest) {
    std::string bytes;
    bytes.reserve(expected);
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            return bytes;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(path, FileAction::Read, errno);
        }
        if (bytes.size() + static_cast<std::size_t>(got) > largest)
            throw IoError(path, FileAction::Read, EFBIG);
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

struct stat statusOf(int fd, const fs::path& path) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw IoError(path, FileAction::Read, errno);
    if (S_ISDIR(info.st_mode))
        throw IoError(path, FileAction::Read, EISDIR);
    return info;
}

} // namespace

fs::path resolveScriptPath(const fs::path& base, std::string_view cp932Name) {
    return FileLookup().resolve(base, cp932Name);
}

fs::path comicFolder(const fs::path& comicFile) {
    return comicFile.parent_path();
}

fs::path dataFolder(const fs::path& comicFile, std::string_view cp932DataDirectory) {
    const fs::path folder =
        ComicFileLookup(comicFolder(comicFile), cp932DataDirectory).dataFolder();
    return folder.empty() ? comicFolder(comicFile) : folder;
}

CopyOutcome copyIntoFolder(const fs::path& source, const fs::path& folder) {
    const fs::path target = folder / source.filename();
    std::error_code error;
    if (fs::exists(target, error))
        return CopyOutcome::AlreadyPresent;
    if (!fs::copy_file(source, target, fs::copy_options::skip_existing, error))
        throw IoError(source, FileAction::Copy, error.value(), folder);
    return CopyOutcome::Copied;
}

std::string readWholeFile(const fs::path& path) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.isOpen())
        throw IoError(path, FileAction::Open, errno);
    const struct stat info = statusOf(file.get(), path);
    const std::size_t expected = S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0;
    return readToEnd(file.get(), path, expected, std::numeric_limits<std::uint64_t>::max());
}

std::string readRegularFile(const fs::path& path, std::uint64_t largest) {
    // Opening a pipe without O_NONBLOCK would wait for a writer.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.isOpen())
        throw IoError(path, FileAction::Open, errno);
    const struct stat info = statusOf(file.get(), path);
    if (!S_ISREG(info.st_mode))
        throw IoError(path, FileAction::Read, kNotARegularFile);
    if (static_cast<std::uint64_t>(info.st_size) > largest)
        throw IoError(path, FileAction::Read, EFBIG);
    return readToEnd(file.get(), path, static_cast<std::size_t>(info.st_size), largest);
}

void writeFileAtomically(const fs::path& target, std::string_view bytes) {
    ReplacementFile file(target);
    writeAll(file.descriptor(), bytes, target);
    file.commit();
}

} // namespace pagora
