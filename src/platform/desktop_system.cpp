#include "platform/desktop_system.h"

#include "platform/file_descriptor.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace pagora {
namespace {

// A helper that prints more than this is not one we understand; the rest is dropped.
constexpr std::size_t kMostOutput = 64 * 1024;

bool isExecutableFile(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Reads everything the child writes, keeping the first kMostOutput bytes.
std::string readToEnd(int fd) {
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return output;
        const std::size_t room = kMostOutput - std::min(kMostOutput, output.size());
        output.append(buffer, std::min(room, static_cast<std::size_t>(count)));
    }
}

int waitForExit(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SpawnActions {
public:
    SpawnActions() { ::posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    // Standard input and error from and to /dev/null, standard output into the pipe
    // (whose own descriptors close on exec).
    bool prepare(int pipeWrite) {
        return ::posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY,
                                                  0) == 0 &&
               ::posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null", O_WRONLY,
                                                  0) == 0 &&
               ::posix_spawn_file_actions_adddup2(&actions_, pipeWrite, STDOUT_FILENO) == 0;
    }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

} // namespace

fs::path DesktopSystem::homeFolder() const {
    const std::optional<std::string> home = variable("HOME");
    if (home && fs::path(*home).is_absolute())
        return *home;
    return accountHome();
}

fs::path DesktopSystem::findProgram(std::string_view name) const {
    if (name.empty() || name.find('/') != std::string_view::npos)
        return {};
    const std::string path = variable("PATH").value_or("");
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(':', start), path.size());
        const fs::path folder = path.substr(start, end - start);
        // An empty or relative entry would depend on the current folder.
        if (folder.is_absolute() && isExecutableFile(folder / name))
            return folder / name;
        start = end + 1;
    }
    return {};
}

ProcessDesktopSystem::ProcessDesktopSystem(Overrides overrides)
    : overrides_(std::move(overrides)) {
}

std::optional<std::string> ProcessDesktopSystem::variable(std::string_view name) const {
    if (const auto found = overrides_.find(name); found != overrides_.end())
        return found->second;
    if (const char* value = std::getenv(std::string(name).c_str()))
        return std::string(value);
    return std::nullopt;
}

fs::path ProcessDesktopSystem::accountHome() const {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir)
        return {};
    const fs::path home = found->pw_dir;
    return home.is_absolute() ? home : fs::path();
}

std::vector<std::string> ProcessDesktopSystem::environmentBlock() const {
    std::vector<std::string> block;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text = *entry;
        if (!overrides_.contains(text.substr(0, text.find('='))))
            block.emplace_back(text);
    }
    for (const auto& [name, value] : overrides_)
        if (value)
            block.push_back(name + "=" + *value);
    return block;
}

std::optional<ProgramRun> ProcessDesktopSystem::run(const fs::path& program,
                                                    const std::vector<std::string>& arguments) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return std::nullopt;
    FileDescriptor readEnd(ends[0]);
    FileDescriptor writeEnd(ends[1]);
    SpawnActions actions;
    if (!actions.prepare(writeEnd.get()))
        return std::nullopt;

    std::vector<std::string> argumentTexts{program.string()};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment = environmentBlock();
    const std::vector<char*> argv = pointersTo(argumentTexts);
    const std::vector<char*> envp = pointersTo(environment);
    pid_t child = 0;
    if (::posix_spawn(&child, program.c_str(), actions.get(), nullptr, argv.data(), envp.data()) !=
        0)
        return std::nullopt;
    writeEnd = FileDescriptor(); // so that the read ends when the child closes its copy
    ProgramRun result;
    result.output = readToEnd(readEnd.get());
    result.exitStatus = waitForExit(child);
    return result;
}

} // namespace pagora
