#pragma once

#include <string_view>

class QWidget;

namespace pagora {

class SettingsStore;

// The main window's place and the tree panel's width, in pixels.
struct WindowGeometry {
    int top = 0;
    int left = 0;
    int width = 520;
    int height = 320;
    int treeBorder = 145;
};

// Where a tool window keeps its place in the settings: four integer values
// and the place used when they are missing.
struct WindowPlaceSettings {
    std::string_view topKey;
    std::string_view leftKey;
    std::string_view widthKey;
    std::string_view heightKey;
    int top;
    int left;
    int width;
    int height;
};

// Default places of the tool windows, outside the main window's default
// frame (0, 0, 520 × 320) so that they cover none of it: its right edge, and
// its bottom edge, with room for the window system's borders and title bar.
int rightOfMainWindow();
int belowMainWindow();

// Writes the missing values with their defaults, then puts the window where
// the settings say.
void restoreWindowPlace(SettingsStore& settings, const WindowPlaceSettings& place, QWidget& window);
// Writes the window's place back into the values that still exist.
void saveWindowPlace(SettingsStore& settings, const WindowPlaceSettings& place,
                     const QWidget& window);

} // namespace pagora
