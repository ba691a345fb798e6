#pragma once

#include "document/comic_rules.h"
#include "platform/media_player.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QDialog;
class QString;
class QWidget;

namespace pagora {

class HelpViewer;
class Prompter;
class SettingsStore;
class TCmdCtrl;
class TComicFileCtrl;
class TFlagCtrl;
class TWindowLayoutEditor;
class TfrmValueEdit;

// The services every window of the editor uses: the real ones in the
// program, scripted ones in tests.
struct DialogServices {
    Prompter& prompter;
    SettingsStore& settings;
    HelpViewer& help;
    // Where the help pages are; empty when the program has none.
    std::filesystem::path helpFolder;
    // Shows an error whose text is not the program's own (an escaped exception).
    std::function<void(const QString&)> showErrorBox;
    // Runs a dialog modally; tests replace it to drive the dialog's steps.
    std::function<int(QDialog&)> runModal;
};

// The open comic's file and the page the editor shows.
struct FileSession {
    // The comic's full path, or "NewComic" while it has never been saved.
    std::filesystem::path fileName{std::string(kUntitledName)};
    std::string currentBook; // CP932
    std::string currentPage; // CP932

    bool isUntitled() const { return fileName == std::filesystem::path(kUntitledName); }
};

// The user's own settings of the editor (UTF-8, as the settings store keeps them).
struct UserSettings {
    std::string plugInDir;
    std::string playerFile;
    std::string userName;
    bool usePlugIns = false;
    bool showCmdIcon = true;
    std::array<std::string, 3> fileHistory; // most recent first; empty = no entry
};

// What a dialog is given: the services, the command line syntax, the
// variable table, a read-only view of the comic and its file, the user's
// settings, the variable table's editor, the one layout editor, the one
// number pad of the run and its media players. Dialogs hand their results
// back; the caller changes the comic.
struct DialogContext {
    DialogServices& services;
    TCmdCtrl& syntax;
    TFlagCtrl& flags;
    const TComicFileCtrl& comic;
    const FileSession& file;
    const UserSettings& user;
    // Runs the variable table's dialog over parent; when it returns, flags
    // holds the declarations as the user left them.
    std::function<void(QWidget* parent)> editVariables;
    TWindowLayoutEditor& layoutEditor;
    TfrmValueEdit& numberPad;
    // Makes the player with which a window plays a sound or music file for a
    // trial; one per window that plays.
    std::function<std::unique_ptr<MediaPlayer>()> makeMediaPlayer;

    Prompter& prompter() const { return services.prompter; }
};

// Tells the user that the comic must be saved once before what they asked
// for can work; true (after the warning) while the comic is untitled.
bool refuseUntitled(const FileSession& file, Prompter& prompter);

// The folder that files chosen in dialogs are copied into and named
// relative to. Nothing, after telling the user that the comic must be saved
// first, while the comic is untitled.
std::optional<std::filesystem::path> dataFolderForFiles(const DialogContext& context);

} // namespace pagora
