#pragma once

#include <filesystem>
#include <string>

namespace pagora {

class SettingsStore;
struct SessionState;

// The settings layout this editor writes, and the setup it expects.
inline constexpr int kSettingsVersion = 1410;
inline constexpr int kSetupVersion = 6;

// The main window's place and the tree panel's width, in pixels.
struct WindowGeometry {
    int top = 0;
    int left = 0;
    int width = 520;
    int height = 320;
    int treeBorder = 145;
};

// A folder as the settings keep it: its path and a separator at the end.
std::string folderText(const std::filesystem::path& folder);

// At start: creates every missing value with its default (a missing version
// makes the setup due, an older one asks for the settings update), then reads
// the user's settings into the session and returns the window's geometry.
WindowGeometry readSettingsAtStart(SettingsStore& settings, SessionState& session,
                                   const std::filesystem::path& programFolder);

// At exit: writes back the values that still exist, so that settings erased
// while the program ran stay erased.
void writeSettingsAtExit(SettingsStore& settings, const SessionState& session,
                         const WindowGeometry& geometry);

} // namespace pagora
