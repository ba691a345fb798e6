#include "editor/editor_settings.h"

#include "gui/dialog_context.h"
#include "platform/settings_store.h"

#include <array>
#include <utility>

namespace pagora {
namespace {

constexpr std::array<const char*, 3> kHistoryNames = {"FileHistory1", "FileHistory2",
                                                      "FileHistory3"};

void writeIfMissing(SettingsStore& settings, std::string_view name, const std::string& value) {
    if (!settings.contains(name))
        settings.writeText(name, value);
}

void createMissingValues(SettingsStore& settings, const std::filesystem::path& programFolder) {
    const WindowGeometry design;
    const std::pair<const char*, std::string> defaults[] = {
        {"Title", "Interactive Pagora for Win95"},
        {"MainFormPosTop", std::to_string(design.top)},
        {"MainFormPosLeft", std::to_string(design.left)},
        {"MainFormPosWidth", std::to_string(design.width)},
        {"MainFormPosHeight", std::to_string(design.height)},
        {"TreeBorder", std::to_string(design.treeBorder)},
        {"PlugInDir", folderText(programFolder)},
        {"PlayerFile", (programFolder / "PagoraPl.exe").string()},
        {"UserName", "Pagora User"},
        {"PlugInUse", "0"},
        {"ShowCmdIcon", "1"},
        {kHistoryNames[0], ""},
        {kHistoryNames[1], ""},
        {kHistoryNames[2], ""},
    };
    for (const auto& [name, value] : defaults)
        writeIfMissing(settings, name, value);
}

} // namespace

std::string folderText(const std::filesystem::path& folder) {
    std::string text = folder.string();
    if (text.empty() || text.back() != std::filesystem::path::preferred_separator)
        text += static_cast<char>(std::filesystem::path::preferred_separator);
    return text;
}

SettingsAtStart readSettingsAtStart(SettingsStore& settings, UserSettings& user,
                                    const std::filesystem::path& programFolder) {
    SettingsAtStart found;
    if (!settings.contains("Version")) {
        settings.writeInt("Version", kSettingsVersion);
        found.setupDue = true;
    }
    createMissingValues(settings, programFolder);
    if (settings.readInt("Version", kSettingsVersion) < kSettingsVersion) {
        settings.writeInt("Version", kSettingsVersion);
        found.settingsUpgraded = true;
    }

    const WindowGeometry design;
    WindowGeometry& geometry = found.geometry;
    geometry.top = settings.readInt("MainFormPosTop", design.top);
    geometry.left = settings.readInt("MainFormPosLeft", design.left);
    geometry.width = settings.readInt("MainFormPosWidth", design.width);
    geometry.height = settings.readInt("MainFormPosHeight", design.height);
    geometry.treeBorder = settings.readInt("TreeBorder", design.treeBorder);
    user.plugInDir = settings.readText("PlugInDir", "");
    user.playerFile = settings.readText("PlayerFile", "");
    user.userName = settings.readText("UserName", "");
    user.usePlugIns = settings.readFlag("PlugInUse", false);
    user.showCmdIcon = settings.readFlag("ShowCmdIcon", true);
    for (std::size_t i = 0; i < kHistoryNames.size(); ++i)
        user.fileHistory[i] = settings.readText(kHistoryNames[i], "");

    if (!settings.contains("SetupVersion")) {
        settings.writeInt("SetupVersion", kSetupVersion);
        found.setupDue = true;
    }
    if (settings.readInt("SetupVersion", kSetupVersion) < kSetupVersion) {
        settings.writeInt("SetupVersion", kSetupVersion);
        found.setupDue = true;
    }
    return found;
}

void writeSettingsAtExit(SettingsStore& settings, const UserSettings& user,
                         const WindowGeometry& geometry) {
    settings.writeIntIfPresent("MainFormPosTop", geometry.top);
    settings.writeIntIfPresent("MainFormPosLeft", geometry.left);
    settings.writeIntIfPresent("MainFormPosWidth", geometry.width);
    settings.writeIntIfPresent("MainFormPosHeight", geometry.height);
    settings.writeIntIfPresent("TreeBorder", geometry.treeBorder);
    settings.writeTextIfPresent("PlugInDir", user.plugInDir);
    settings.writeTextIfPresent("PlayerFile", user.playerFile);
    settings.writeTextIfPresent("UserName", user.userName);
    settings.writeFlagIfPresent("PlugInUse", user.usePlugIns);
    settings.writeFlagIfPresent("ShowCmdIcon", user.showCmdIcon);
    for (std::size_t i = 0; i < kHistoryNames.size(); ++i)
        settings.writeTextIfPresent(kHistoryNames[i], user.fileHistory[i]);
}

} // namespace pagora
