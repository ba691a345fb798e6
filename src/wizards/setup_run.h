#pragma once

#include <filesystem>

class QWidget;

namespace pagora {

class DesktopSystem;
struct DialogServices;
struct UserSettings;

// How the setup wizard runs: at the first start, from the menu (which also
// offers erasing the settings), or as the automatic update after the
// editor's settings were upgraded.
enum class SetupRun { StartUp, Menu, AutomaticUpdate };

// What the editor does after the setup: go on, or end because the setup
// erased its settings.
enum class SetupOutcome { Continue, EndProgram };

// What the setup works with besides the dialog services.
struct SetupEnvironment {
    DesktopSystem& desktop;
    // The folder of the editor's program, the first place for the player
    // and the plug-ins.
    std::filesystem::path programFolder;
    // The editor's own full path, registered as the program that edits comics.
    std::filesystem::path editorProgram;
};

// Runs the setup wizard over the user's settings, which a completed setup
// changes.
SetupOutcome runSetupWizard(DialogServices& services, const SetupEnvironment& environment,
                            SetupRun run, bool setupNotDue, UserSettings& user, QWidget* owner);

} // namespace pagora
