#include "platform/temporary_files.h"

#include "platform/errors.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <vector>

namespace fs = std::filesystem;

namespace pagora {
namespace {

constexpr std::string_view kLettersAndDigits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLength = 6;
constexpr int kMostLinks = 40;
constexpr int kMostAttempts = 100;

fs::path folderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

std::string randomLettersOrDigits() {
    thread_local std::mt19937_64 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLettersAndDigits.size() - 1);
    std::string text(kRandomLength, ' ');
    for (char& c : text)
        c = kLettersAndDigits[pick(engine)];
    return text;
}

bool isStale(const struct stat& info) {
    return std::chrono::seconds(::time(nullptr) - info.st_mtim.tv_sec) >= kStaleTemporaryAge;
}

// The names in an open folder, without "." and "..".
std::vector<std::string> namesIn(int folderFd) {
    std::vector<std::string> names;
    const int copy = ::dup(folderFd); // closedir closes the descriptor it was given
    DIR* folder = copy < 0 ? nullptr : ::fdopendir(copy);
    if (!folder) {
        if (copy >= 0)
            ::close(copy);
        return names;
    }
    ::rewinddir(folder);
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(folder);
    return names;
}

// The entry of a folder, opened without following a link and locked, when it
// is of the given type (S_IFREG, S_IFDIR), stale and held by nobody; closed
// otherwise. Nothing but files and folders is ever opened.
FileDescriptor openStale(int folderFd, const std::string& name, mode_t type, struct stat& info) {
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        (info.st_mode & S_IFMT) != type || !isStale(info))
        return FileDescriptor();
    FileDescriptor entry(
        ::openat(folderFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat opened {};
    if (!entry.isOpen() || ::fstat(entry.get(), &opened) != 0 || opened.st_ino != info.st_ino ||
        opened.st_dev != info.st_dev || ::flock(entry.get(), LOCK_EX | LOCK_NB) != 0)
        return FileDescriptor();
    return entry;
}

// Whether an open folder holds only stale regular files named in contents.
bool holdsOnlyStaleFiles(int folderFd, std::initializer_list<std::string_view> contents) {
    for (const std::string& name : namesIn(folderFd)) {
        struct stat info {};
        if (std::find(contents.begin(), contents.end(), name) == contents.end() ||
            ::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || !isStale(info))
            return false;
    }
    return true;
}

FileDescriptor openFolder(const fs::path& folder) {
    return FileDescriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// The file a path names, through any symbolic links; the path itself when it
// is no link or names nothing yet.
fs::path followLinks(const fs::path& target) {
    fs::path path = target;
    for (int links = 0;; ++links) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        if (links == kMostLinks)
            throw IoError(target, FileAction::Save, ELOOP);
        std::error_code error;
        const fs::path named = fs::read_symlink(path, error);
        if (error)
            throw IoError(target, FileAction::Save, error.value());
        path = named.is_absolute() ? named : folderOf(path) / named;
    }
}

// Once renamed, the save has taken place; a folder that cannot be flushed is
// left to the system's own writing back.
void flushFolder(const fs::path& folder) {
    const FileDescriptor opened = openFolder(folder);
    if (opened.isOpen())
        ::fsync(opened.get());
}

} // namespace

bool isTemporaryName(std::string_view name, std::string_view prefix) {
    return name.size() == prefix.size() + kRandomLength && name.starts_with(prefix) &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return kLettersAndDigits.find(c) != std::string_view::npos; });
}

namespace {

// Calls remove with the folder, the name and the held entry for every stale
// temporary of the prefix and file type in folder.
template <typename Remove>
void forEachStale(const fs::path& folder, std::string_view prefix, mode_t type, Remove remove) {
    const FileDescriptor opened = openFolder(folder);
    if (!opened.isOpen())
        return;
    for (const std::string& name : namesIn(opened.get())) {
        struct stat info {};
        if (!isTemporaryName(name, prefix))
            continue;
        const FileDescriptor held = openStale(opened.get(), name, type, info);
        if (held.isOpen())
            remove(opened.get(), name, held.get(), info);
    }
}

} // namespace

void removeStaleTemporaryFiles(const fs::path& folder, std::string_view prefix) {
    forEachStale(folder, prefix, S_IFREG,
                 [](int parent, const std::string& name, int, const struct stat&) {
                     ::unlinkat(parent, name.c_str(), 0);
                 });
}

void removeStaleTemporaryFolders(const fs::path& folder, std::string_view prefix,
                                 std::initializer_list<std::string_view> contents) {
    forEachStale(
        folder, prefix, S_IFDIR,
        [contents](int parent, const std::string& name, int held, const struct stat& info) {
            if (info.st_uid != ::geteuid() || !holdsOnlyStaleFiles(held, contents))
                return;
            for (const std::string_view file : contents)
                ::unlinkat(held, std::string(file).c_str(), 0);
            ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
        });
}

TemporaryLock::TemporaryLock(const fs::path& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW)) {
    // Where locks are not supported, the age alone keeps the temporary.
    if (fd_.isOpen())
        ::flock(fd_.get(), LOCK_EX | LOCK_NB);
}

ReplacementFile::ReplacementFile(const fs::path& target)
    : target_(target)
    , destination_(followLinks(target)) {
    struct stat info {};
    const bool replacing = ::stat(destination_.c_str(), &info) == 0;
    if (!replacing && errno != ENOENT)
        throw IoError(target_, FileAction::Save, errno);
    if (replacing && S_ISDIR(info.st_mode))
        throw IoError(target_, FileAction::Save, EISDIR);
    if (replacing && !S_ISREG(info.st_mode))
        throw IoError(target_, FileAction::Save, kNotARegularFile);
    if (replacing && ::access(destination_.c_str(), W_OK) != 0)
        throw IoError(target_, FileAction::Save, errno);

    const fs::path folder = folderOf(destination_);
    const std::string prefix = "." + destination_.filename().string() + ".pagora-";
    removeStaleTemporaryFiles(folder, prefix);
    // A file that replaces another stays private until it takes that file's
    // permissions; a new one gets what the umask leaves.
    const mode_t mode = replacing ? 0600 : 0666;
    for (int attempt = 1; !file_.isOpen(); ++attempt) {
        temporary_ = folder / (prefix + randomLettersOrDigits());
        file_ = FileDescriptor(
            ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
        if (!file_.isOpen() && (errno != EEXIST || attempt == kMostAttempts)) {
            const int failure = errno;
            temporary_.clear();
            throw IoError(target_, FileAction::Save, failure);
        }
    }
    // Where locks are not supported, the age alone keeps the file.
    ::flock(file_.get(), LOCK_EX | LOCK_NB);
}

ReplacementFile::~ReplacementFile() {
    if (!committed_ && !temporary_.empty())
        ::unlink(temporary_.c_str());
}

void ReplacementFile::commit() {
    struct stat replaced {};
    if (::stat(destination_.c_str(), &replaced) == 0) {
        // Only a privileged process may give a file away; another keeps at
        // least the group where it belongs to it.
        if (::fchown(file_.get(), replaced.st_uid, replaced.st_gid) != 0 &&
            (errno != EPERM ||
             (::fchown(file_.get(), static_cast<uid_t>(-1), replaced.st_gid) != 0 &&
              errno != EPERM)))
            throw IoError(target_, FileAction::Save, errno);
        if (::fchmod(file_.get(), replaced.st_mode & 07777) != 0)
            throw IoError(target_, FileAction::Save, errno);
    }
    if (::fsync(file_.get()) != 0)
        throw IoError(target_, FileAction::Save, errno);
    if (::close(file_.release()) != 0)
        throw IoError(target_, FileAction::Save, errno);
    if (::rename(temporary_.c_str(), destination_.c_str()) != 0)
        throw IoError(target_, FileAction::Save, errno);
    committed_ = true;
    flushFolder(folderOf(destination_));
}

} // namespace pagora
