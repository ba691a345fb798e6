#include "platform/desktop_files.h"
#include "platform/desktop_integration.h"
#include "platform/desktop_system.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "support/temp_folder.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pagora {
namespace {

using test::readFile;
using test::TempFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const char* const kComicIcon = "icons/hicolor/scalable/mimetypes/application-x-pagora-comic.svg";
const char* const kAppIcon = "icons/hicolor/scalable/apps/pagora.svg";

// The real system, except that the account's home is never looked up, so
// that a test without HOME cannot reach the real user's folders.
class TestSystem : public ProcessDesktopSystem {
public:
    using ProcessDesktopSystem::ProcessDesktopSystem;
    fs::path accountHome() const override { return {}; }
};

std::string replaced(std::string text, std::string_view placeholder, const std::string& value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
    return text;
}

// A user's home and XDG folders in a temporary folder, with PATH holding
// only stand-in programs.
class DesktopSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(home);
        fs::create_directories(bin);
    }

    // A stand-in that notes its name and arguments in calls.log, prints
    // output and ends with status.
    void fakeProgram(std::string_view name, int status, std::string_view output = "") const {
        const fs::path path =
            root.write(bin.filename() / name,
                       "#!/bin/sh\nprintf '%s %s\\n' \"${0##*/}\" \"$*\" >> '" + callLog.string() +
                           "'\nprintf '%s\\n' '" + std::string(output) + "'\nexit " +
                           std::to_string(status) + "\n");
        ::chmod(path.c_str(), 0755);
    }
    void useInstalledPrograms() {
        environment["PATH"] = bin.string() + ":/usr/local/bin:/usr/bin:/bin";
    }
    void writeEditor(std::string_view script) const {
        fs::create_directories(editor.parent_path());
        std::ofstream(editor) << script;
        ::chmod(editor.c_str(), 0755);
    }
    void fakeUpdatePrograms() const {
        fakeProgram("update-mime-database", 0);
        fakeProgram("update-desktop-database", 0);
    }
    std::vector<std::string> calls() const {
        std::vector<std::string> lines;
        std::string text = fs::exists(callLog) ? readFile(callLog) : "";
        for (std::size_t end; (end = text.find('\n')) != std::string::npos; text.erase(0, end + 1))
            lines.push_back(text.substr(0, end));
        return lines;
    }

    DesktopReport apply() {
        TestSystem system(environment);
        return ApplyDesktopSetup(system, prompter, {editor, templateBytes});
    }
    DesktopReport remove() {
        TestSystem system(environment);
        return DeleteDesktopSettings(system, settings);
    }

    // Placeholders of the tables: $ROOT the temporary folder, $HOME the home.
    std::string expand(std::string text, bool withHome = true) const {
        text = replaced(std::move(text), "$ROOT", root.path().string());
        return withHome ? replaced(std::move(text), "$HOME", home.string()) : text;
    }

    void expectRegistered() const {
        EXPECT_EQ(readFile(data / "mime/packages/pagora.xml"), mimeTypeFile());
        EXPECT_TRUE(fs::is_regular_file(data / "applications/pagora.desktop"));
        EXPECT_EQ(readFile(config / "mimeapps.list"),
                  "[Default Applications]\napplication/x-pagora-comic=pagora.desktop;\n");
    }
    void expectTemplateWarning() const {
        ASSERT_EQ(prompter.records().size(), 1u);
        EXPECT_EQ(prompter.records()[0].kind, MessageKind::Warning);
        EXPECT_EQ(prompter.records()[0].text, toCp932("テンプレートのオープンに失敗"));
    }

    TempFolder root;
    const fs::path home = root.path() / "home";
    const fs::path data = root.path() / "data";
    const fs::path config = root.path() / "config";
    const fs::path bin = root.path() / "bin";
    const fs::path callLog = root.path() / "calls.log";
    fs::path editor = root.path() / "opt" / "pagora";
    ProcessDesktopSystem::Overrides environment{{"HOME", home.string()},
                                                {"XDG_DATA_HOME", data.string()},
                                                {"XDG_CONFIG_HOME", config.string()},
                                                {"PATH", bin.string()}};
    const std::string templateBytes = "template\r\n";
    ScriptedPrompter prompter;
    MemorySettingsStore settings;
};

TEST_F(DesktopSetupTest, RegistersTheFileTypeTheEditorAndTheTemplate) {
    fakeUpdatePrograms();
    const DesktopReport report = apply();

    expectRegistered();
    const std::string entry = readFile(data / "applications/pagora.desktop");
    EXPECT_THAT(entry, HasSubstr("\nExec=" + editor.string() + " %f\n"));
    EXPECT_THAT(entry, HasSubstr("\nName=パゴラ\n"));
    EXPECT_THAT(entry, HasSubstr("\nMimeType=application/x-pagora-comic;\n"));
    EXPECT_THAT(entry, HasSubstr("\nIcon=pagora\n"));
    EXPECT_EQ(readFile(data / kComicIcon), comicFileIconFile());
    EXPECT_EQ(readFile(data / kAppIcon), applicationIconFile());
    EXPECT_EQ(report.templateFile, home / "Templates/NewComic.csf");
    EXPECT_EQ(readFile(report.templateFile), templateBytes);
    EXPECT_THAT(calls(),
                ElementsAre("update-mime-database " + (data / "mime").string(),
                            "update-desktop-database " + (data / "applications").string()));
    EXPECT_TRUE(report.notes.empty());
    EXPECT_TRUE(prompter.records().empty());

    apply();
    expectRegistered(); // a second setup adds nothing twice
}

struct TemplatesCase {
    const char* name;
    const char* userDirs;      // user-dirs.dirs; null for none
    const char* programAnswer; // xdg-user-dir's answer; null when absent, "!" when it fails
    const char* expected;      // the Templates folder; empty for none
};

class TemplatesFolder : public DesktopSetupTest,
                        public ::testing::WithParamInterface<TemplatesCase> {};

TEST_P(TemplatesFolder, IsTheOneTheUserChose) {
    const TemplatesCase& c = GetParam();
    if (c.userDirs)
        root.write("config/user-dirs.dirs", expand(c.userDirs, false));
    if (c.programAnswer)
        fakeProgram("xdg-user-dir", c.programAnswer == std::string("!") ? 1 : 0,
                    expand(c.programAnswer));
    const DesktopReport report = apply();
    expectRegistered();
    if (std::string_view(c.expected).empty()) {
        EXPECT_EQ(report.templateFile, fs::path());
        expectTemplateWarning();
    } else {
        EXPECT_EQ(report.templateFile, fs::path(expand(c.expected)) / "NewComic.csf");
        EXPECT_EQ(readFile(report.templateFile), templateBytes);
        EXPECT_TRUE(prompter.records().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TemplatesFolder,
    ::testing::Values(
        TemplatesCase{"NothingNamesOne", nullptr, nullptr, "$HOME/Templates"},
        TemplatesCase{"UserDirsNamesOne", "XDG_TEMPLATES_DIR=\"$HOME/テンプレート\"\n", nullptr,
                      "$HOME/テンプレート"},
        TemplatesCase{"TheLastLineCounts",
                      "# x\nXDG_TEMPLATES_DIR=\"/elsewhere\"\n  XDG_TEMPLATES_DIR=\"$ROOT/t\"\r\n"
                      "XDG_TEMPLATES_DIR=relative\n",
                      nullptr, "$ROOT/t"},
        TemplatesCase{"UserDirsTurnsItOff", "XDG_TEMPLATES_DIR=\"$HOME/\"\n", nullptr, ""},
        TemplatesCase{"ProgramAnswers", nullptr, "$ROOT/雛形", "$ROOT/雛形"},
        TemplatesCase{"ProgramAnswersHomeAndNothingNamesOne", nullptr, "$HOME", "$HOME/Templates"},
        TemplatesCase{"ProgramAnswersHomeAsTurnedOff", "XDG_TEMPLATES_DIR=\"$HOME\"\n", "$HOME/",
                      ""},
        TemplatesCase{"ProgramFails", "XDG_TEMPLATES_DIR=\"$HOME/T\"\n", "!", "$HOME/T"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DesktopSetupTest, TheRealUserDirProgramReadsTheUsersChoice) {
    useInstalledPrograms();
    if (TestSystem(environment).findProgram("xdg-user-dir").empty())
        GTEST_SKIP() << "xdg-user-dir is not installed";
    root.write("config/user-dirs.dirs", "XDG_TEMPLATES_DIR=\"$HOME/ひな形\"\n");
    EXPECT_EQ(apply().templateFile, home / "ひな形/NewComic.csf");
}

TEST_F(DesktopSetupTest, TheDesktopToolsSeeTheFileTypeAndItsApplication) {
    useInstalledPrograms();
    environment["XDG_CURRENT_DESKTOP"] =
        "GNOME"; // xdg-mime asks gio, which reads the MIME database
    TestSystem system(environment);
    const fs::path xdgMime = system.findProgram("xdg-mime");
    if (xdgMime.empty() || system.findProgram("gio").empty() ||
        system.findProgram("update-mime-database").empty())
        GTEST_SKIP() << "needs xdg-utils, gio and shared-mime-info";
    writeEditor("#!/bin/sh\n");
    EXPECT_THAT(apply().notes, ::testing::Not(::testing::Contains(HasSubstr("update-mime"))));

    const fs::path comic = root.write("comics/Some.CSF", templateBytes);
    const std::optional<ProgramRun> type = system.run(xdgMime, {"query", "filetype", comic});
    ASSERT_TRUE(type);
    EXPECT_EQ(type->output, "application/x-pagora-comic\n");
    const std::optional<ProgramRun> application =
        system.run(xdgMime, {"query", "default", "application/x-pagora-comic"});
    ASSERT_TRUE(application);
    EXPECT_EQ(application->output, "pagora.desktop\n");
}

TEST_F(DesktopSetupTest, TheDesktopStartsTheEditorAtAPathThatNeedsQuotes) {
    useInstalledPrograms();
    TestSystem system(environment);
    const fs::path gio = system.findProgram("gio");
    if (gio.empty())
        GTEST_SKIP() << "needs gio";
    editor = root.path() / "my $apps 'n' \"q\" a\\b" / "pagora";
    const fs::path launched = root.path() / "launched.txt";
    writeEditor("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '" + launched.string() + ".new'\nmv '" +
                launched.string() + ".new' '" + launched.string() + "'\n");
    apply();

    const fs::path comic = root.write("comics/a comic.csf", templateBytes);
    const std::optional<ProgramRun> run =
        system.run(gio, {"launch", (data / "applications/pagora.desktop").string(), comic});
    ASSERT_TRUE(run);
    ASSERT_EQ(run->exitStatus, 0);
    // gio does not wait for the program it starts.
    for (int tries = 0; tries < 500 && !fs::exists(launched); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(readFile(launched), editor.string() + "\n" + comic.string() + "\n");
}

struct UnwritableCase {
    const char* name;
    void (*prepare)(const fs::path& templates);
};

class UnwritableTemplate : public DesktopSetupTest,
                           public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableTemplate, WarnsAndStillRegisters) {
    fakeUpdatePrograms();
    const fs::path templates = home / "Templates";
    GetParam().prepare(templates);
    if (IsSkipped())
        return;
    const DesktopReport report = apply();
    expectRegistered();
    expectTemplateWarning();
    EXPECT_EQ(report.templateFile, fs::path());
    EXPECT_THAT(report.notes, ElementsAre(HasSubstr(templates.string())));
    fs::permissions(templates, fs::perms::owner_all, fs::perm_options::add);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnwritableTemplate,
    ::testing::Values(UnwritableCase{"AFileInTheFoldersPlace",
                                     [](const fs::path& templates) {
                                         std::ofstream(templates) << "x";
                                     }},
                      UnwritableCase{"AFolderInTheTemplatesPlace",
                                     [](const fs::path& templates) {
                                         fs::create_directories(templates / "NewComic.csf");
                                     }},
                      UnwritableCase{"AReadOnlyFolder",
                                     [](const fs::path& templates) {
                                         if (::geteuid() == 0)
                                             GTEST_SKIP()
                                                 << "permissions do not bind the superuser";
                                         fs::create_directories(templates);
                                         fs::permissions(templates, fs::perms::owner_read |
                                                                        fs::perms::owner_exec);
                                     }}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DesktopSetupTest, MissingOrFailingUpdateProgramsAreOnlyNoted) {
    DesktopReport report = apply();
    expectRegistered();
    EXPECT_THAT(report.notes, ElementsAre(StartsWith("update-mime-database: not found"),
                                          StartsWith("update-desktop-database: not found")));

    fakeProgram("update-mime-database", 4);
    fakeProgram("update-desktop-database", 0);
    report = apply();
    EXPECT_THAT(report.notes, ElementsAre("update-mime-database: ended with status 4"));
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(DesktopSetupTest, WithoutHomeNothingIsWrittenAnywhereElse) {
    environment = {{"HOME", std::nullopt},
                   {"XDG_DATA_HOME", "relative/data"},
                   {"XDG_CONFIG_HOME", std::nullopt},
                   {"PATH", bin.string()}};
    EXPECT_THROW(apply(), IoError);
    EXPECT_FALSE(fs::exists("relative")) << "written below the current folder";

    environment["XDG_DATA_HOME"] = data.string();
    environment["XDG_CONFIG_HOME"] = config.string();
    apply();
    expectRegistered(); // the XDG folders suffice for the registration
    expectTemplateWarning();
}

TEST_F(DesktopSetupTest, RelativeXdgFoldersAreIgnored) {
    environment["XDG_DATA_HOME"] = "data";
    environment["XDG_CONFIG_HOME"] = "";
    apply();
    EXPECT_TRUE(fs::is_regular_file(home / ".local/share/applications/pagora.desktop"));
    EXPECT_TRUE(fs::is_regular_file(home / ".config/mimeapps.list"));
}

TEST_F(DesktopSetupTest, DeleteRemovesTheEditorAndKeepsTheFileTypeAndTemplate) {
    fakeUpdatePrograms();
    root.write("config/mimeapps.list",
               "[Default Applications]\napplication/x-pagora-comic=other.desktop;\n");
    settings.writeText("UserName", "花子");
    const fs::path templateFile = apply().templateFile;

    const DesktopReport report = remove();
    EXPECT_FALSE(fs::exists(data / "applications/pagora.desktop"));
    EXPECT_FALSE(fs::exists(data / kComicIcon));
    EXPECT_FALSE(fs::exists(data / kAppIcon));
    EXPECT_EQ(readFile(config / "mimeapps.list"),
              "[Default Applications]\napplication/x-pagora-comic=other.desktop;\n");
    EXPECT_EQ(readFile(data / "mime/packages/pagora.xml"), mimeTypeFile());
    EXPECT_EQ(readFile(templateFile), templateBytes);
    EXPECT_FALSE(settings.contains("UserName"));
    EXPECT_EQ(calls().back(), "update-desktop-database " + (data / "applications").string());
    EXPECT_TRUE(report.notes.empty());
}

TEST_F(DesktopSetupTest, IconsOfSomeoneElseAreNeitherReplacedNorRemoved) {
    fakeUpdatePrograms();
    const fs::path theirs = root.write("data/" + std::string(kComicIcon), "<svg>theirs</svg>");
    EXPECT_THAT(apply().notes, ElementsAre(StartsWith(theirs.string() + ": kept")));
    EXPECT_EQ(readFile(theirs), "<svg>theirs</svg>");
    EXPECT_EQ(readFile(data / kAppIcon), applicationIconFile());

    EXPECT_THAT(remove().notes, ElementsAre(StartsWith(theirs.string() + ": kept")));
    EXPECT_EQ(readFile(theirs), "<svg>theirs</svg>");
    EXPECT_FALSE(fs::exists(data / kAppIcon));
}

TEST_F(DesktopSetupTest, DeleteWithNothingRegisteredErasesTheSettingsOnly) {
    fakeUpdatePrograms();
    settings.writeText("PlayerFile", "/x");
    EXPECT_TRUE(remove().notes.empty());
    EXPECT_FALSE(settings.contains("PlayerFile"));
    EXPECT_TRUE(calls().empty());
    EXPECT_FALSE(fs::exists(config / "mimeapps.list"));
}

struct ExecCase {
    const char* program;
    const char* value;
};

class DesktopExecValue : public ::testing::TestWithParam<ExecCase> {};

TEST_P(DesktopExecValue, QuotesWhatTheEntryFormatReserves) {
    EXPECT_EQ(desktopExecValue(GetParam().program), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DesktopExecValue,
    ::testing::Values(ExecCase{"/opt/pagora/bin/pagora", "/opt/pagora/bin/pagora %f"},
                      ExecCase{"/home/a b/パゴラ", "\"/home/a b/パゴラ\" %f"},
                      ExecCase{"/a/100%/$x", "\"/a/100%%/\\\\$x\" %f"},
                      ExecCase{"/a\\b/\"c\"", "\"/a\\\\\\\\b/\\\\\"c\\\\\"\" %f"}));

} // namespace
} // namespace pagora
