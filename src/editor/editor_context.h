#pragma once

#include "check/error_check.h"
#include "document/cmd_ctrl.h"
#include "document/comic_editing.h"
#include "document/comic_file.h"
#include "document/comic_rules.h"
#include "document/flag_ctrl.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QDialog;
class QString;

namespace pagora {

class Clock;
class HelpViewer;
class ProgramLauncher;
class Prompter;
class RandomSource;
class SettingsStore;
class TfrmValueEdit;

// What the main window knows about the open comic and the user's settings.
struct SessionState {
    // The comic's full path, or "NewComic" while it has never been saved.
    std::filesystem::path fileName{std::string(kUntitledName)};
    std::string currentBook; // CP932
    std::string currentPage; // CP932

    // The user's settings (UTF-8, as the settings store keeps them).
    std::string plugInDir;
    std::string playerFile;
    std::string userName;
    bool usePlugIns = false;
    bool showCmdIcon = true;
    std::array<std::string, 3> fileHistory; // most recent first; empty = no entry

    bool firstShowPending = false;
    bool setupDue = false;
    bool settingsUpgraded = false;
    // Set while the window itself changes the tree, so that its own selection
    // does not open a page a second time.
    bool treeUpdateGuard = false;

    bool isUntitled() const { return fileName == std::filesystem::path(kUntitledName); }
};

// The objects that live as long as the main window, created in this order.
struct ProgramObjects {
    ProgramObjects(Prompter& prompter, const Clock& clock, RandomSource& random)
        : syntax(prompter)
        , comic(prompter)
        , flags(comic, prompter, clock, random)
        , errorCheck(comic, syntax, flags, prompter) {}

    TCmdCtrl syntax;
    TComicFileCtrl comic;
    TFlagCtrl flags;
    CommandClipboard clipboard;
    TErrorCheck errorCheck;
};

// Inserts a command into the open page through the command's own dialog,
// starting from line (empty for a new command). The main window answers it.
using InsertCommand = std::function<void(const std::string& line, CmdKind kind)>;

// How the setup wizard runs at the first show.
enum class SetupRun { StartUp, AutomaticUpdate };

// What the editor is given from outside: the real services in the program,
// scripted ones in tests.
struct EditorServices {
    Prompter& prompter;
    SettingsStore& settings;
    const Clock& clock;
    RandomSource& random;
    ProgramLauncher& launcher;
    HelpViewer& help;
    // The folder of the editor's program; the default folders of the settings
    // and the start of the player's file dialog.
    std::filesystem::path programFolder;
    std::filesystem::path helpFolder;
    // Wine's path, when Windows programs are to be started through it.
    std::function<QString()> findWine;
    // Shows an error whose text is not the program's own (an escaped exception).
    std::function<void(const QString&)> showErrorBox;
    // Runs a dialog modally; tests replace it to drive the dialog's steps.
    std::function<int(QDialog&)> runModal;
    // The setup wizard, when the program has one: the run and whether the
    // setup was already done before.
    std::function<void(SetupRun run, bool setupNotDue)> runSetup;
    // Where copies of modified comics are kept until they are saved; empty
    // turns the copies off.
    std::filesystem::path autosaveFolder;
};

// The one object every dialog is given: services, program-wide objects and
// the session.
struct EditorContext {
    EditorServices& services;
    ProgramObjects& objects;
    SessionState& session;
    // The one number pad of the run, shared by every number box.
    TfrmValueEdit& numberPad;

    Prompter& prompter() const { return services.prompter; }
    TComicFileCtrl& comic() const { return objects.comic; }
    TCmdCtrl& syntax() const { return objects.syntax; }
    TFlagCtrl& flags() const { return objects.flags; }
};

} // namespace pagora
