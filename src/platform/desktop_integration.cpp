#include "platform/desktop_integration.h"

#include "platform/desktop_files.h"
#include "platform/desktop_system.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/mimeapps_list.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"

#include <optional>

namespace fs = std::filesystem;

namespace pagora {
namespace {

// Files of the user's that are read back (mimeapps.list, user-dirs.dirs, an
// icon) are small; a larger one is not one of them.
constexpr std::uint64_t kLargestReadBack = 1 << 20;

struct InstalledIcon {
    const char* relative; // under the data folder
    std::string_view (*bytes)();
};

constexpr InstalledIcon kIcons[] = {
    {"icons/hicolor/scalable/mimetypes/application-x-pagora-comic.svg", comicFileIconFile},
    {"icons/hicolor/scalable/apps/pagora.svg", applicationIconFile},
};

// --- where things go ---

// A folder variable counts only when it holds an absolute path.
fs::path absoluteVariable(const DesktopSystem& system, std::string_view name) {
    const fs::path value = system.variable(name).value_or("");
    return value.is_absolute() ? value : fs::path();
}

fs::path withoutTrailingSeparator(const fs::path& path) {
    const fs::path normal = path.lexically_normal();
    return normal.has_filename() || normal == normal.root_path() ? normal : normal.parent_path();
}

bool sameFolder(const fs::path& a, const fs::path& b) {
    return withoutTrailingSeparator(a) == withoutTrailingSeparator(b);
}

// A file under one of the user's folders; refused when that folder is unknown,
// so that nothing is ever written relative to the current folder.
fs::path under(const fs::path& folder, std::string_view variable, const fs::path& relative) {
    if (folder.empty())
        throw IoError(fs::path("$" + std::string(variable)) / relative, FileAction::Write, ENOENT);
    return folder / relative;
}

fs::path mimeFolder(const DesktopFolders& folders) {
    return under(folders.dataHome, "XDG_DATA_HOME", "mime");
}

fs::path applicationsFolder(const DesktopFolders& folders) {
    return under(folders.dataHome, "XDG_DATA_HOME", "applications");
}

fs::path mimeappsList(const DesktopFolders& folders) {
    return under(folders.configHome, "XDG_CONFIG_HOME", "mimeapps.list");
}

// --- files ---

void writeUserFile(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error)
        throw IoError(path, FileAction::Write, error.value());
    writeFileAtomically(path, bytes);
}

bool isPresent(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

// An icon this editor installed: a regular file (not a link) that carries its marker.
bool isSetupIcon(const fs::path& path) {
    std::error_code ignored;
    if (!fs::is_regular_file(fs::symlink_status(path, ignored)))
        return false;
    try {
        return readRegularFile(path, kLargestReadBack).find(kSetupIconMarker) != std::string::npos;
    } catch (const IoError&) {
        return false;
    }
}

void installIcon(const fs::path& dataHome, const InstalledIcon& icon,
                 std::vector<std::string>& notes) {
    const fs::path path = under(dataHome, "XDG_DATA_HOME", icon.relative);
    if (isPresent(path) && !isSetupIcon(path)) {
        notes.push_back(path.string() + ": kept, it is not an icon of this editor");
        return;
    }
    writeUserFile(path, icon.bytes());
}

void removeUserFile(const fs::path& path, std::vector<std::string>& notes) {
    std::error_code error;
    fs::remove(path, error);
    if (error)
        notes.push_back(path.string() + ": cannot remove: " + error.message());
}

void removeSetupIcon(const fs::path& path, std::vector<std::string>& notes) {
    if (!isPresent(path))
        return;
    if (isSetupIcon(path))
        removeUserFile(path, notes);
    else
        notes.push_back(path.string() + ": kept, it is not an icon of this editor");
}

// The text of a file that may be missing (then empty).
std::string readIfPresent(const fs::path& path) {
    return isPresent(path) ? readRegularFile(path, kLargestReadBack) : std::string();
}

// Runs a program that brings a desktop cache up to date with folder. Without
// it the files are in place all the same, so its absence is only noted.
void runUpdate(DesktopSystem& system, std::string_view program, const fs::path& folder,
               std::vector<std::string>& notes) {
    const std::string name(program);
    const fs::path path = system.findProgram(program);
    if (path.empty()) {
        notes.push_back(name + ": not found, " + folder.string() + " was not brought up to date");
        return;
    }
    const std::optional<ProgramRun> run = system.run(path, {folder.string()});
    if (!run)
        notes.push_back(name + ": could not be started");
    else if (run->exitStatus != 0)
        notes.push_back(name + ": ended with status " + std::to_string(run->exitStatus));
}

// The lines of a text, each with its LF (the last one perhaps without).
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return lines;
}

// --- the desktop entry ---

// Characters that make an argument of an Exec key need quotes.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";

std::string quotedExecArgument(std::string_view argument) {
    if (argument.find_first_of(kReservedInExec) == std::string_view::npos)
        return std::string(argument);
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// A literal percent sign is written twice, apart from the field codes.
std::string withPercentsDoubled(std::string_view text) {
    std::string doubled;
    for (const char c : text) {
        doubled += c;
        if (c == '%')
            doubled += '%';
    }
    return doubled;
}

// The escapes of a string value of the entry file, applied after quoting.
std::string escapedEntryValue(std::string_view value) {
    std::string escaped;
    for (const char c : value) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// The installed desktop entry with its Exec key naming program itself.
std::string userDesktopEntry(const fs::path& program) {
    std::string entry;
    for (const std::string_view line : linesOf(desktopEntryFile()))
        entry += line.starts_with("Exec=") ? "Exec=" + desktopExecValue(program) + "\n"
                                           : std::string(line);
    return entry;
}

// --- the Templates folder ---

// The value of a folder variable in user-dirs.dirs ("$HOME/..." or an
// absolute path, in double quotes); the last valid line counts.
std::optional<fs::path> userDirsEntry(const DesktopFolders& folders, std::string_view name) {
    if (folders.configHome.empty())
        return std::nullopt;
    std::string text;
    try {
        text = readIfPresent(folders.configHome / "user-dirs.dirs");
    } catch (const IoError&) {
        return std::nullopt;
    }
    std::optional<fs::path> found;
    const std::string prefix = std::string(name) + "=\"";
    for (std::string_view line : linesOf(text)) {
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        line.remove_suffix(line.size() -
                           std::min(line.find_last_not_of(" \t\r\n") + 1, line.size()));
        if (line.size() <= prefix.size() || !line.starts_with(prefix) || !line.ends_with('"'))
            continue;
        std::string value;
        line = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        for (std::size_t i = 0; i < line.size(); ++i)
            value += line[i] == '\\' && i + 1 < line.size() ? line[++i] : line[i];
        if (value.starts_with("$HOME") && (value.size() == 5 || value[5] == '/'))
            found = folders.home.string() + value.substr(5);
        else if (fs::path(value).is_absolute())
            found = value;
    }
    return found;
}

std::optional<fs::path> askUserDirProgram(DesktopSystem& system, std::string_view name) {
    const fs::path program = system.findProgram("xdg-user-dir");
    if (program.empty())
        return std::nullopt;
    const std::optional<ProgramRun> run = system.run(program, {std::string(name)});
    if (!run || run->exitStatus != 0)
        return std::nullopt;
    std::string answer = run->output;
    while (answer.ends_with('\n') || answer.ends_with('\r'))
        answer.pop_back();
    const fs::path folder = answer;
    return folder.is_absolute() ? std::optional(folder) : std::nullopt;
}

// The user's Templates folder. A folder set to the home itself means the
// user turned it off; when nothing names one it is ~/Templates.
std::optional<fs::path> templatesFolder(DesktopSystem& system, const DesktopFolders& folders) {
    if (folders.home.empty())
        return std::nullopt;
    if (const auto answer = askUserDirProgram(system, "TEMPLATES");
        answer && !sameFolder(*answer, folders.home))
        return answer;
    const std::optional<fs::path> named = userDirsEntry(folders, "XDG_TEMPLATES_DIR");
    if (!named)
        return folders.home / "Templates";
    if (sameFolder(*named, folders.home))
        return std::nullopt;
    return named;
}

fs::path writeTemplate(DesktopSystem& system, const DesktopFolders& folders, std::string_view bytes,
                       std::vector<std::string>& notes) {
    const std::optional<fs::path> folder = templatesFolder(system, folders);
    if (!folder) {
        notes.push_back("the user has no Templates folder");
        return {};
    }
    std::error_code error;
    fs::create_directories(*folder, error);
    if (error) {
        notes.push_back(folder->string() + ": cannot make the folder: " + error.message());
        return {};
    }
    const fs::path file = *folder / kTemplateFileName;
    try {
        writeFileAtomically(file, bytes);
    } catch (const IoError& failure) {
        notes.push_back(failure.what());
        return {};
    }
    return file;
}

// --- the steps ---

void registerFileType(DesktopSystem& system, const DesktopFolders& folders,
                      std::vector<std::string>& notes) {
    writeUserFile(mimeFolder(folders) / "packages" / "pagora.xml", mimeTypeFile());
    installIcon(folders.dataHome, kIcons[0], notes);
    runUpdate(system, "update-mime-database", mimeFolder(folders), notes);
}

void registerEditor(DesktopSystem& system, const DesktopFolders& folders, const fs::path& program,
                    std::vector<std::string>& notes) {
    installIcon(folders.dataHome, kIcons[1], notes);
    writeUserFile(applicationsFolder(folders) / kDesktopEntryName, userDesktopEntry(program));
    runUpdate(system, "update-desktop-database", applicationsFolder(folders), notes);
    const fs::path list = mimeappsList(folders);
    const std::string before = readIfPresent(list);
    const std::string after = withDefaultApplication(before, kComicMimeType, kDesktopEntryName);
    if (after != before)
        writeUserFile(list, after);
}

void unregisterEditor(DesktopSystem& system, const DesktopFolders& folders,
                      std::vector<std::string>& notes) {
    const fs::path entry = applicationsFolder(folders) / kDesktopEntryName;
    if (isPresent(entry)) {
        removeUserFile(entry, notes);
        runUpdate(system, "update-desktop-database", applicationsFolder(folders), notes);
    }
    for (const InstalledIcon& icon : kIcons)
        removeSetupIcon(folders.dataHome / icon.relative, notes);
}

void removeDefaultApplication(const DesktopFolders& folders, std::vector<std::string>& notes) {
    const fs::path list = mimeappsList(folders);
    try {
        const std::string before = readIfPresent(list);
        const std::string after =
            withoutDefaultApplication(before, kComicMimeType, kDesktopEntryName);
        if (after != before)
            writeFileAtomically(list, after);
    } catch (const IoError& failure) {
        notes.push_back(failure.what());
    }
}

} // namespace

DesktopFolders desktopFolders(const DesktopSystem& system) {
    DesktopFolders folders;
    folders.home = system.homeFolder();
    folders.dataHome = absoluteVariable(system, "XDG_DATA_HOME");
    if (folders.dataHome.empty() && !folders.home.empty())
        folders.dataHome = folders.home / ".local" / "share";
    folders.configHome = absoluteVariable(system, "XDG_CONFIG_HOME");
    if (folders.configHome.empty() && !folders.home.empty())
        folders.configHome = folders.home / ".config";
    return folders;
}

std::string desktopExecValue(const fs::path& program) {
    return escapedEntryValue(withPercentsDoubled(quotedExecArgument(program.string()))) + " %f";
}

DesktopReport ApplyDesktopSetup(DesktopSystem& system, Prompter& prompter,
                                const DesktopSetup& setup) {
    const DesktopFolders folders = desktopFolders(system);
    DesktopReport report;
    registerFileType(system, folders, report.notes);
    registerEditor(system, folders, setup.editorProgram, report.notes);
    report.templateFile = writeTemplate(system, folders, setup.templateBytes, report.notes);
    if (report.templateFile.empty())
        prompter.warning(PAGORA_CP932("テンプレートのオープンに失敗"));
    return report;
}

DesktopReport DeleteDesktopSettings(DesktopSystem& system, SettingsStore& settings) {
    const DesktopFolders folders = desktopFolders(system);
    DesktopReport report;
    if (!folders.dataHome.empty())
        unregisterEditor(system, folders, report.notes);
    if (!folders.configHome.empty())
        removeDefaultApplication(folders, report.notes);
    settings.eraseAll();
    return report;
}

} // namespace pagora
