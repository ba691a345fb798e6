#include "platform/files.h"

#include "platform/comic_file_lookup.h"
#include "platform/errors.h"
#include "platform/file_lookup.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace pagora {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

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

} // namespace

mode_t permissionsForReplacing(const fs::path& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

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
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        throw IoError(path, FileAction::Open, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw IoError(path, FileAction::Read, errno);
    if (S_ISDIR(info.st_mode))
        throw IoError(path, FileAction::Read, EISDIR);
    std::string bytes;
    if (S_ISREG(info.st_mode))
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(path, FileAction::Read, errno);
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

void writeFileAtomically(const fs::path& target, std::string_view bytes) {
    std::error_code error;
    if (fs::is_directory(target, error))
        throw IoError(target, FileAction::Save, EISDIR);
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
        throw IoError(target, FileAction::Save, errno);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temporaryName = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    FileDescriptor file(::mkstemp(temporaryName.data()));
    if (file.get() < 0)
        throw IoError(target, FileAction::Save, errno);
    try {
        writeAll(file.get(), bytes, target);
        if (::fchmod(file.get(), permissionsForReplacing(target)) != 0 || ::fsync(file.get()) != 0)
            throw IoError(target, FileAction::Save, errno);
        if (::close(file.release()) != 0)
            throw IoError(target, FileAction::Save, errno);
        if (::rename(temporaryName.c_str(), target.c_str()) != 0)
            throw IoError(target, FileAction::Save, errno);
    } catch (...) {
        ::unlink(temporaryName.c_str());
        throw;
    }
}

} // namespace pagora
