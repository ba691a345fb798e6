#pragma once

#include <string_view>

namespace pagora {

// The files the editor registers with the desktop, as the package installs
// them (from src/platform/desktop and src/editor/icons).
std::string_view desktopEntryFile();    // pagora.desktop
std::string_view mimeTypeFile();        // pagora.xml, the comic file type
std::string_view applicationIconFile(); // pagora.svg
std::string_view comicFileIconFile();   // application-x-pagora-comic.svg

// Text that every icon above carries, so that the setup knows its own icons
// from those someone else put in their place.
inline constexpr std::string_view kSetupIconMarker = "id=\"pagora-setup-icon\"";

} // namespace pagora
