#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class DesktopSystem;
class Prompter;
class SettingsStore;

// The comic file type as the desktop knows it, and the desktop entry that opens it.
inline constexpr std::string_view kComicMimeType = "application/x-pagora-comic";
inline constexpr std::string_view kComicIconName = "application-x-pagora-comic";
inline constexpr std::string_view kDesktopEntryName = "pagora.desktop";
inline constexpr std::string_view kTemplateFileName = "NewComic.csf";

// What the setup registers for the user.
struct DesktopSetup {
    std::filesystem::path editorProgram; // the editor's own full path
    std::string templateBytes;           // the new-comic template, as saved
};

// What the setup or the removal did besides its files. Notes are English
// (UTF-8) and are no error for the user: a helper program that was missing or
// failed, a file left alone.
struct DesktopReport {
    std::filesystem::path templateFile; // where the template went; empty when nowhere
    std::vector<std::string> notes;
};

// The user's data and configuration folders: XDG_DATA_HOME and
// XDG_CONFIG_HOME when set to absolute paths, else ~/.local/share and
// ~/.config. Empty where neither is known.
struct DesktopFolders {
    std::filesystem::path home;
    std::filesystem::path dataHome;
    std::filesystem::path configHome;
};
DesktopFolders desktopFolders(const DesktopSystem& system);

// Registers the comic file type for the user: the MIME type with its icon,
// the desktop entry that edits it with the editor (the type's default
// application), then writes the template into the user's Templates folder.
// A Templates folder that is turned off, cannot be made or cannot be written
// is reported with the warning "テンプレートのオープンに失敗"; the
// registration stands. Throws IoError when a registration file cannot be
// written (each file is written whole or not at all).
DesktopReport ApplyDesktopSetup(DesktopSystem& system, Prompter& prompter,
                                const DesktopSetup& setup);

// Removes the desktop entry, its default for the comic type and the icons
// this editor installed, and erases the editor's settings. The MIME type and
// the template stay, as do icons someone else put in their place. Never
// throws for files: what cannot be removed is noted.
DesktopReport DeleteDesktopSettings(DesktopSystem& system, SettingsStore& settings);

// The Exec value of a desktop entry that opens one file with program: the
// path, quoted where it holds characters the entry format reserves, then %f.
std::string desktopExecValue(const std::filesystem::path& program);

} // namespace pagora
