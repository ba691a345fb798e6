#include "editor/editor_settings.h"

#include "editor/editor_context.h"
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

WindowGeometry readSettingsAtStart(SettingsStore& settings, SessionState& session,
                                   const std::filesystem::path& programFolder) {
    if (!settings.contains("Version")) {
        settings.writeInt("Version", kSettingsVersion);
        session.setupDue = true;
    }
    createMissingValues(settings, programFolder);
    if (settings.readInt("Version", kSettingsVersion) < kSettingsVersion) {
        settings.writeInt("Version", kSettingsVersion);
        session.settingsUpgraded = true;
    }

    const WindowGeometry design;
    WindowGeometry geometry;
    geometry.top = settings.readInt("MainFormPosTop", design.top);
    geometry.left = settings.readInt("MainFormPosLeft", design.left);
    geometry.width = settings.readInt("MainFormPosWidth", design.width);
    geometry.height = settings.readInt("MainFormPosHeight", design.height);
    geometry.treeBorder = settings.readInt("TreeBorder", design.treeBorder);
    session.plugInDir = settings.readText("PlugInDir", "");
    session.playerFile = settings.readText("PlayerFile", "");
    session.userName = settings.readText("UserName", "");
    session.usePlugIns = settings.readFlag("PlugInUse", false);
    session.showCmdIcon = settings.readFlag("ShowCmdIcon", true);
    for (std::size_t i = 0; i < kHistoryNames.size(); ++i)
        session.fileHistory[i] = settings.readText(kHistoryNames[i], "");

    if (!settings.contains("SetupVersion")) {
        settings.writeInt("SetupVersion", kSetupVersion);
        session.setupDue = true;
    }
    if (settings.readInt("SetupVersion", kSetupVersion) < kSetupVersion) {
        settings.writeInt("SetupVersion", kSetupVersion);
        session.setupDue = true;
    }
    return geometry;
}

void writeSettingsAtExit(SettingsStore& settings, const SessionState& session,
                         const WindowGeometry& geometry) {
    settings.writeIntIfPresent("MainFormPosTop", geometry.top);
    settings.writeIntIfPresent("MainFormPosLeft", geometry.left);
    settings.writeIntIfPresent("MainFormPosWidth", geometry.width);
    settings.writeIntIfPresent("MainFormPosHeight", geometry.height);
    settings.writeIntIfPresent("TreeBorder", geometry.treeBorder);
    settings.writeTextIfPresent("PlugInDir", session.plugInDir);
    settings.writeTextIfPresent("PlayerFile", session.playerFile);
    settings.writeTextIfPresent("UserName", session.userName);
    settings.writeFlagIfPresent("PlugInUse", session.usePlugIns);
    settings.writeFlagIfPresent("ShowCmdIcon", session.showCmdIcon);
    for (std::size_t i = 0; i < kHistoryNames.size(); ++i)
        settings.writeTextIfPresent(kHistoryNames[i], session.fileHistory[i]);
}

} // namespace pagora
