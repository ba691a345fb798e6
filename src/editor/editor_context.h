#pragma once

#include "check/error_check.h"
#include "document/cmd_ctrl.h"
#include "document/comic_editing.h"
#include "document/comic_file.h"
#include "document/comic_rules.h"
#include "document/flag_ctrl.h"
#include "gui/dialog_context.h"
#include "platform/media_player.h"
#include "wizards/setup_run.h"

#include <filesystem>
#include <functional>
#include <string>

class QString;
class QWidget;

namespace pagora {

class Clock;
class ProgramLauncher;
class RandomSource;

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

// What the editor is given from outside: the real services in the program,
// scripted ones in tests. Its dialogs see only the DialogServices part.
struct EditorServices : DialogServices {
    const Clock& clock;
    RandomSource& random;
    ProgramLauncher& launcher;
    // The folder of the editor's program; the default folders of the settings
    // and the start of the player's file dialog.
    std::filesystem::path programFolder;
    // Wine's path, when Windows programs are to be started through it.
    std::function<QString()> findWine;
    // The setup wizard, when the program has one: the run, whether the setup
    // was already done before, the user's settings (which a completed setup
    // changes) and the window it belongs to.
    std::function<SetupOutcome(SetupRun run, bool setupNotDue, UserSettings& user, QWidget* owner)>
        runSetup;
    // Where copies of modified comics are kept until they are saved; empty
    // turns the copies off.
    std::filesystem::path autosaveFolder;
    // The players of the dialogs' trials.
    MediaPlayerFactory makeMediaPlayer;
};

} // namespace pagora
