#pragma once

#include <QApplication>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pagora {

// The editor's application object. An error that escapes an event handler is
// shown in an error box and the editor goes on.
class PagoraApplication : public QApplication {
    Q_OBJECT

public:
    PagoraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Where escaped errors go; an error box unless set.
    void setErrorHandler(std::function<void(const QString&)> handler);
    const std::function<void(const QString&)>& errorHandler() const { return errorHandler_; }

private:
    std::function<void(const QString&)> errorHandler_;
};

// Installs Qt's Japanese texts (standard buttons, file dialogs). False when
// they are not installed on this system.
bool installJapaneseTranslations(QCoreApplication& application);

// The names the settings are kept under. No display name is set: the window
// system would add it to every title bar, and titles are to read exactly as
// the windows set them.
void setApplicationNames();

// The editor's command line: "pagora [FILE.csf] [--screenshot OUT.png]" or
// "pagora --script FILE.pgs [--set KEY=VALUE]... [FILE.csf]".
struct EditorOptions {
    std::optional<std::filesystem::path> file;
    std::optional<QString> screenshot;
    std::optional<std::filesystem::path> script;
    // Settings preset for a script run, in order.
    std::vector<std::pair<std::string, std::string>> settings;
};

// Reads the options; empty after printing the reason when they are wrong.
std::optional<EditorOptions> parseEditorArguments(const QStringList& arguments);

// Runs the editor until it ends; the exit status.
int runEditor(PagoraApplication& application);

} // namespace pagora
