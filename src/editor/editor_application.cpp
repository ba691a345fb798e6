#include "editor/editor_application.h"

#include "editor/help_window.h"
#include "editor/main_window.h"
#include "editor/program_launcher.h"
#include "editor/qt_prompter.h"
#include "editor/qt_settings_store.h"
#include "editor/qt_text.h"
#include "platform/clock.h"

#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QPixmap>
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

} // namespace

PagoraApplication::PagoraApplication(int& argc, char** argv)
    : QApplication(argc, argv) {
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
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("FILE.csf"), QStringLiteral("The comic to open."));
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "pagora: %s\nusage: pagora [FILE.csf] [--screenshot OUT.png]\n",
                     utf8Of(parser.errorText()).c_str());
        return std::nullopt;
    }
    EditorOptions options;
    if (!parser.positionalArguments().isEmpty())
        options.file = pathFromText(parser.positionalArguments().constFirst());
    if (parser.isSet(screenshot))
        options.screenshot = parser.value(screenshot);
    return options;
}

void setApplicationNames() {
    QCoreApplication::setOrganizationName(QStringLiteral("Hanvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Pagora"));
}

int runEditor(PagoraApplication& application) {
    setApplicationNames();
    installJapaneseTranslations(application);
    const std::optional<EditorOptions> options = parseEditorArguments(application.arguments());
    if (!options)
        return 2;

    QtPrompter prompter;
    QtSettingsStore settings;
    SystemClock clock;
    SystemRandom random;
    QtProgramLauncher launcher;
    HelpWindow help;
    const std::filesystem::path programFolder =
        pathFromText(QCoreApplication::applicationDirPath());
    EditorServices services{prompter,
                            settings,
                            clock,
                            random,
                            launcher,
                            help,
                            programFolder,
                            findHelpFolder(programFolder),
                            &findWine,
                            [&prompter](const QString& text) { prompter.showErrorText(text); },
                            [](QDialog& dialog) { return dialog.exec(); },
                            {}};
    application.setErrorHandler(services.showErrorBox);

    TfrmMain window(services, options->file);
    prompter.setParentWidget(&window);
    window.show();
    if (options->screenshot)
        QTimer::singleShot(kScreenshotDelayMs, &window, [&window, path = *options->screenshot] {
            takeScreenshot(window, path);
        });
    const int status = QCoreApplication::exec();
    application.setErrorHandler({});
    return status;
}

} // namespace pagora
