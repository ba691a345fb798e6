#pragma once

#include <string_view>

class QWidget;

namespace pagora {

class SettingsStore;

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

// Writes the missing values with their defaults, then puts the window where
// the settings say.
void restoreWindowPlace(SettingsStore& settings, const WindowPlaceSettings& place, QWidget& window);
// Writes the window's place back into the values that still exist.
void saveWindowPlace(SettingsStore& settings, const WindowPlaceSettings& place,
                     const QWidget& window);

} // namespace pagora
