#include "platform/desktop_system.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace pagora {
namespace {

using test::TempFolder;
using Overrides = ProcessDesktopSystem::Overrides;

fs::path executable(const TempFolder& folder, const fs::path& relative, std::string_view script) {
    const fs::path path = folder.write(relative, script);
    ::chmod(path.c_str(), 0755);
    return path;
}

TEST(ProcessDesktopSystem, RunsAProgramInTheChangedEnvironment) {
    ProcessDesktopSystem system(
        Overrides{{"PAGORA_TEST_SET", "値 with blanks"}, {"HOME", std::nullopt}});
    const std::optional<ProgramRun> run = system.run(
        "/bin/sh", {"-c", "printf '%s|%s' \"$PAGORA_TEST_SET\" \"${HOME-unset}\"; exit 3"});
    ASSERT_TRUE(run);
    EXPECT_EQ(run->output, "値 with blanks|unset");
    EXPECT_EQ(run->exitStatus, 3);
    EXPECT_EQ(system.variable("PAGORA_TEST_SET"), "値 with blanks");
    EXPECT_EQ(system.variable("HOME"), std::nullopt);
}

TEST(ProcessDesktopSystem, ProgramsThatCannotRunOrEndBySignal) {
    TempFolder folder;
    ProcessDesktopSystem system;
    EXPECT_FALSE(system.run(folder.path() / "missing", {}));
    const fs::path plain = folder.write("not-executable", "#!/bin/sh\n");
    EXPECT_FALSE(system.run(plain, {}));
    const std::optional<ProgramRun> killed = system.run("/bin/sh", {"-c", "kill -9 $$"});
    ASSERT_TRUE(killed);
    EXPECT_EQ(killed->exitStatus, -1);
}

TEST(ProcessDesktopSystem, KeepsTheStartOfAVeryLongOutput) {
    ProcessDesktopSystem system;
    const std::optional<ProgramRun> run =
        system.run("/bin/sh", {"-c", "head -c 1000000 /dev/zero; exit 0"});
    ASSERT_TRUE(run);
    EXPECT_EQ(run->exitStatus, 0) << "the child was not stopped by a full pipe";
    EXPECT_EQ(run->output, std::string(64 * 1024, '\0'));
}

TEST(DesktopSystem, FindsExecutablesOnPathInOrder) {
    TempFolder folder;
    fs::create_directories(folder.path() / "zero/tool");
    executable(folder, "first/tool", "#!/bin/sh\n");
    executable(folder, "second/tool", "#!/bin/sh\n");
    folder.write("first/plain", "not executable");
    const fs::path plain = executable(folder, "second/plain", "#!/bin/sh\n");
    const std::string path = "relative::" + (folder.path() / "zero").string() + ":" +
                             (folder.path() / "first").string() + ":" +
                             (folder.path() / "second").string();

    ProcessDesktopSystem system(Overrides{{"PATH", path}});
    EXPECT_EQ(system.findProgram("tool"), folder.path() / "first/tool");
    EXPECT_EQ(system.findProgram("plain"), plain);
    EXPECT_EQ(system.findProgram("missing"), fs::path());
    EXPECT_EQ(system.findProgram("dir/tool"), fs::path()) << "a name, not a path";
    EXPECT_EQ(ProcessDesktopSystem(Overrides{{"PATH", std::nullopt}}).findProgram("sh"),
              fs::path());
}

TEST(DesktopSystem, HomeIsAnAbsoluteHomeVariableElseTheAccounts) {
    EXPECT_EQ(ProcessDesktopSystem(Overrides{{"HOME", "/somewhere/home"}}).homeFolder(),
              "/somewhere/home");
    ProcessDesktopSystem unset(Overrides{{"HOME", std::nullopt}});
    EXPECT_EQ(unset.homeFolder(), unset.accountHome());
    EXPECT_EQ(ProcessDesktopSystem(Overrides{{"HOME", "relative"}}).homeFolder(),
              unset.accountHome());
    EXPECT_TRUE(unset.accountHome().is_absolute());
}

} // namespace
} // namespace pagora
