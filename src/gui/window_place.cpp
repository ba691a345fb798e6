#include "gui/window_place.h"

#include "platform/settings_store.h"

#include <QWidget>

namespace pagora {
namespace {

// What the window system adds around a window: borders, and a title bar above.
constexpr int kBorderRoom = 16;
constexpr int kTitleBarRoom = 48;

void writeIfMissing(SettingsStore& settings, std::string_view key, int value) {
    if (!settings.contains(key))
        settings.writeInt(key, value);
}

} // namespace

int rightOfMainWindow() {
    const WindowGeometry design;
    return design.left + design.width + kBorderRoom;
}

int belowMainWindow() {
    const WindowGeometry design;
    return design.top + design.height + kTitleBarRoom;
}

void restoreWindowPlace(SettingsStore& settings, const WindowPlaceSettings& place,
                        QWidget& window) {
    writeIfMissing(settings, place.topKey, place.top);
    writeIfMissing(settings, place.leftKey, place.left);
    writeIfMissing(settings, place.widthKey, place.width);
    writeIfMissing(settings, place.heightKey, place.height);
    window.move(settings.readInt(place.leftKey, place.left),
                settings.readInt(place.topKey, place.top));
    window.resize(settings.readInt(place.widthKey, place.width),
                  settings.readInt(place.heightKey, place.height));
}

void saveWindowPlace(SettingsStore& settings, const WindowPlaceSettings& place,
                     const QWidget& window) {
    settings.writeIntIfPresent(place.topKey, window.pos().y());
    settings.writeIntIfPresent(place.leftKey, window.pos().x());
    settings.writeIntIfPresent(place.widthKey, window.size().width());
    settings.writeIntIfPresent(place.heightKey, window.size().height());
}

} // namespace pagora
