#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

// How a program that was run ended, and what it wrote to standard output.
struct ProgramRun {
    int exitStatus = 0; // -1 when a signal ended it
    std::string output;
};

// What the desktop integration asks of the operating system: environment
// variables, the user's home from the account database, and running helper
// programs to their end. Tests put their own environment in place, so that
// nothing touches the real user's folders.
class DesktopSystem {
public:
    virtual ~DesktopSystem() = default;

    virtual std::optional<std::string> variable(std::string_view name) const = 0;
    // The home folder of the account, for when HOME is not set; empty when unknown.
    virtual std::filesystem::path accountHome() const = 0;
    // Runs program (a full path) with arguments, standard input and error
    // going nowhere, and waits for it. Nothing when it could not be started.
    virtual std::optional<ProgramRun> run(const std::filesystem::path& program,
                                          const std::vector<std::string>& arguments) = 0;

    // HOME when it is set to an absolute path, else the account's home.
    std::filesystem::path homeFolder() const;
    // The full path of an executable file called name in a folder of PATH;
    // empty when there is none.
    std::filesystem::path findProgram(std::string_view name) const;
};

// The process's own environment, with the given variables replaced (a value)
// or removed (nothing) for this object and the programs it runs.
class ProcessDesktopSystem : public DesktopSystem {
public:
    using Overrides = std::map<std::string, std::optional<std::string>, std::less<>>;

    explicit ProcessDesktopSystem(Overrides overrides = {});

    std::optional<std::string> variable(std::string_view name) const override;
    std::filesystem::path accountHome() const override;
    std::optional<ProgramRun> run(const std::filesystem::path& program,
                                  const std::vector<std::string>& arguments) override;

private:
    std::vector<std::string> environmentBlock() const;

    Overrides overrides_;
};

} // namespace pagora
