#pragma once

#include "gui/window_place.h"

#include <filesystem>
#include <string>

namespace pagora {

class SettingsStore;
struct UserSettings;

// The settings layout this editor writes, and the setup it expects.
inline constexpr int kSettingsVersion = 1410;
inline constexpr int kSetupVersion = 6;

// A folder as the settings keep it: its path and a separator at the end.
std::string folderText(const std::filesystem::path& folder);

// What the settings say at start: the window's geometry, and whether the
// setup is due or the settings were updated from an older editor.
struct SettingsAtStart {
    WindowGeometry geometry;
    bool setupDue = false;
    bool settingsUpgraded = false;
};

// At start: creates every missing value with its default (a missing version
// makes the setup due, an older one asks for the settings update), then reads
// the user's settings.
SettingsAtStart readSettingsAtStart(SettingsStore& settings, UserSettings& user,
                                    const std::filesystem::path& programFolder);

// At exit: writes back the values that still exist, so that settings erased
// while the program ran stay erased.
void writeSettingsAtExit(SettingsStore& settings, const UserSettings& user,
                         const WindowGeometry& geometry);

} // namespace pagora
