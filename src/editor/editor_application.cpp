#include "editor/editor_application.h"

#include "editor/editor_settings.h"
#include "editor/help_window.h"
#include "editor/main_window.h"
#include "editor/program_launcher.h"
#include "editor/qt_prompter.h"
#include "editor/qt_settings_store.h"
#include "editor/script/printing_prompter.h"
#include "editor/script/script_parser.h"
#include "editor/script/script_runner.h"
#include "editor/script/script_steps.h"
#include "gui/audio_player.h"
#include "gui/qt_text.h"
#include "platform/clock.h"
#include "platform/desktop_system.h"
#include "platform/files.h"
#include "platform/media_player.h"
#include "platform/message_line.h"
#include "platform/settings_store.h"

#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QPixmap>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

namespace pagora {
namespace {

// Time for the first layout and paint before the window is photographed.
constexpr int kScreenshotDelayMs = 300;

void takeScreenshot(QWidget& window, const QString& path) {
    const bool saved = window.grab().save(path);
    if (saved)
        std::printf("%s\n", utf8Of(path).c_str());
    else
        std::fprintf(stderr, "pagora: cannot write %s\n", utf8Of(path).c_str());
    QCoreApplication::exit(saved ? 0 : 1);
}

// The copies of modified comics live in the user's data folder; without one
// there are none.
std::filesystem::path autosaveFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (data.isEmpty())
        return {};
    return pathFromText(data) / "autosave";
}

} // namespace

PagoraApplication::PagoraApplication(int& argc, char** argv)
    : QApplication(argc, argv) {
    setWindowIcon(QIcon(QStringLiteral(":/icons/pagora.svg")));
    // Desktops match the windows to the installed pagora.desktop.
    setDesktopFileName(QStringLiteral("pagora"));
}

void PagoraApplication::setErrorHandler(std::function<void(const QString&)> handler) {
    errorHandler_ = std::move(handler);
}

bool PagoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (errorHandler_)
            errorHandler_(errorText(error));
        else
            QtPrompter().showErrorText(errorText(error));
        return false;
    }
}

bool installJapaneseTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

std::optional<EditorOptions> parseEditorArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a picture of the main window after "
                                                       "it is first shown, then quit."),
                                        QStringLiteral("OUT.png"));
    const QCommandLineOption script(QStringLiteral("script"),
                                    QStringLiteral("Run the steps of a script, then quit."),
                                    QStringLiteral("FILE.pgs"));
    const QCommandLineOption set(QStringLiteral("set"),
                                 QStringLiteral("Preset a setting of the script run."),
                                 QStringLiteral("KEY=VALUE"));
    parser.addOptions({screenshot, script, set});
    parser.addPositionalArgument(QStringLiteral("FILE.csf"), QStringLiteral("The comic to open."));
    const auto refuse = [](const QString& reason) {
        std::fprintf(stderr,
                     "pagora: %s\nusage: pagora [FILE.csf] [--screenshot OUT.png]\n"
                     "       pagora --script FILE.pgs [--set KEY=VALUE]... [FILE.csf]\n",
                     utf8Of(reason).c_str());
        return std::nullopt;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    EditorOptions options;
    if (!parser.positionalArguments().isEmpty())
        options.file = pathFromText(parser.positionalArguments().constFirst());
    if (parser.isSet(screenshot))
        options.screenshot = parser.value(screenshot);
    if (parser.isSet(script))
        options.script = pathFromText(parser.value(script));
    for (const QString& preset : parser.values(set)) {
        const qsizetype equals = preset.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return refuse(QStringLiteral("--set takes KEY=VALUE, not ") + preset);
        options.settings.emplace_back(utf8Of(preset.left(equals)), utf8Of(preset.mid(equals + 1)));
    }
    if (!options.settings.empty() && !options.script)
        return refuse(QStringLiteral("--set is for script runs only"));
    if (options.script && options.screenshot)
        return refuse(QStringLiteral("--script and --screenshot exclude each other"));
    return options;
}

void setApplicationNames() {
    QCoreApplication::setOrganizationName(QStringLiteral("Hanvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Pagora"));
}

namespace {

// The desktop of a script run: a home of its own, "script-home" in the
// current folder, so that a script never registers anything for the user
// who runs it.
std::unique_ptr<DesktopSystem> scriptDesktop() {
    const std::filesystem::path home = std::filesystem::current_path() / "script-home";
    return std::make_unique<ProcessDesktopSystem>(
        ProcessDesktopSystem::Overrides{{"HOME", home.string()},
                                        {"XDG_DATA_HOME", std::nullopt},
                                        {"XDG_CONFIG_HOME", std::nullopt}});
}

// The services of the real program over the given prompter, settings and
// desktop.
struct ProgramServices {
    ProgramServices(Prompter& prompter, SettingsStore& settings,
                    std::function<void(const QString&)> showErrorBox,
                    std::unique_ptr<DesktopSystem> desktopSystem,
                    MediaPlayerFactory makeMediaPlayer)
        : programFolder(pathFromText(QCoreApplication::applicationDirPath()))
        , desktop(std::move(desktopSystem))
        , services{{prompter, settings, help, findHelpFolder(programFolder),
                    std::move(showErrorBox),
                    [](QDialog& dialog) {
                        return dialog.exec();
                    }},
                   clock,
                   random,
                   launcher,
                   programFolder,
                   &findWine,
                   [this](SetupRun run, bool setupNotDue, UserSettings& user, QWidget* owner) {
                       const SetupEnvironment environment{
                           *desktop, programFolder,
                           pathFromText(QCoreApplication::applicationFilePath())};
                       return runSetupWizard(services, environment, run, setupNotDue, user, owner);
                   },
                   autosaveFolder(),
                   std::move(makeMediaPlayer)} {}

    SystemClock clock;
    SystemRandom random;
    QtProgramLauncher launcher;
    HelpWindow help;
    std::filesystem::path programFolder;
    std::unique_ptr<DesktopSystem> desktop;
    EditorServices services;
};

// Runs the event loop with escaped errors going where the services show them.
int runEventLoop(PagoraApplication& application, const EditorServices& services) {
    application.setErrorHandler(services.showErrorBox);
    const int status = QCoreApplication::exec();
    application.setErrorHandler({});
    return status;
}

// Settings in memory with the setup done: a run that only takes a picture
// or runs a script leaves the user's settings alone and shows no setup.
void markSetUp(SettingsStore& settings) {
    settings.writeInt("Version", kSettingsVersion);
    settings.writeInt("SetupVersion", kSetupVersion);
}

int runInteractive(PagoraApplication& application, const EditorOptions& options) {
    QtPrompter prompter;
    QtSettingsStore userSettings;
    MemorySettingsStore pictureSettings;
    markSetUp(pictureSettings);
    SettingsStore& settings =
        options.screenshot ? static_cast<SettingsStore&>(pictureSettings) : userSettings;
    ProgramServices program(
        prompter, settings, [&prompter](const QString& text) { prompter.showErrorText(text); },
        std::make_unique<ProcessDesktopSystem>(), [] { return std::make_unique<AudioPlayer>(); });
    TfrmMain window(program.services, options.file);
    prompter.setParentWidget(&window);
    window.show();
    if (options.screenshot)
        QTimer::singleShot(kScreenshotDelayMs, &window,
                           [&window, path = *options.screenshot] { takeScreenshot(window, path); });
    return runEventLoop(application, program.services);
}

// The settings of a script run: every value at its default, the setup done,
// then the presets.
void presetScriptSettings(SettingsStore& settings, const EditorOptions& options) {
    markSetUp(settings);
    for (const auto& [key, value] : options.settings)
        settings.writeText(key, value);
}

std::optional<std::vector<ScriptStep>> readScript(const std::filesystem::path& path) {
    std::string text;
    try {
        text = readWholeFile(path);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pagora: %s\n", error.what());
        return std::nullopt;
    }
    try {
        return parseScript(text);
    } catch (const ScriptSyntaxError& error) {
        printScriptLine("ERROR line " + std::to_string(error.line()) + ": " + error.what());
        return std::nullopt;
    }
}

int runScripted(PagoraApplication& application, const EditorOptions& options) {
    std::optional<std::vector<ScriptStep>> steps = readScript(*options.script);
    if (!steps)
        return 2;
    PrintingPrompter prompter;
    MemorySettingsStore settings;
    presetScriptSettings(settings, options);
    // Script runs stay quiet: their players read the files and play nothing.
    ProgramServices program(
        prompter, settings,
        [](const QString& text) { printScriptLine(messageLine(MessageKind::Error, utf8Of(text))); },
        scriptDesktop(), [] { return std::make_unique<SilentMediaPlayer>(); });
    TfrmMain window(program.services, options.file);
    ScriptSteps executor(window, prompter);
    ScriptRunner runner(std::move(*steps), executor);
    // Started first, so that the steps also drive what the first show opens
    // (the setup wizard).
    runner.start();
    window.show();
    return runEventLoop(application, program.services);
}

} // namespace

int runEditor(PagoraApplication& application) {
    setApplicationNames();
    installJapaneseTranslations(application);
    const std::optional<EditorOptions> options = parseEditorArguments(application.arguments());
    if (!options)
        return 2;
    return options->script ? runScripted(application, *options)
                           : runInteractive(application, *options);
}

} // namespace pagora
