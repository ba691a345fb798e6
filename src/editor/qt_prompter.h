#pragma once

#include "platform/prompter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <functional>
#include <memory>

class QColorDialog;
class QInputDialog;

namespace pagora {

// The editor's Prompter: message boxes, input boxes and choosers of Qt, owned
// by the main window. Each box is built by a function of its own, so that
// tests can look at it without running its modal loop.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr)
        : parent_(parent) {}

    void setParentWidget(QWidget* parent) { parent_ = parent; }

    Answer message(MessageKind kind, std::string_view text, Buttons buttons) override;
    std::optional<std::string> inputText(std::string_view caption, std::string_view prompt,
                                         std::string_view initial) override;
    std::optional<std::filesystem::path> openFile(const FileChooser& chooser) override;
    std::optional<std::filesystem::path> saveFile(const FileChooser& chooser) override;
    std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                      const std::filesystem::path& start) override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;

    // An error whose text is already a Qt string (an exception's text).
    void showErrorText(const QString& text);

    // A message or prompt as shown: CR LF, LF CR, a lone LF and a lone CR
    // are each one line break, so texts that put LF before CR show no blank
    // lines.
    static QString shownText(const QString& text);

    // --- the boxes, built but not shown ---
    static std::unique_ptr<QMessageBox> makeMessageBox(MessageKind kind, const QString& text,
                                                       Buttons buttons, QWidget* parent);
    // The answer for the button that closed the box; a box closed by other
    // means gives the safe default.
    static Answer answerFor(QAbstractButton* clicked, const QMessageBox& box, Buttons buttons);
    static std::unique_ptr<QInputDialog> makeInputDialog(const QString& caption,
                                                         const QString& prompt,
                                                         const QString& initial, QWidget* parent);
    // The typed text as CP932, or empty after telling the user (through
    // refuse) which character the comic cannot hold.
    static std::optional<std::string>
    acceptedInput(const QString& typed, const std::function<void(const QString&)>& refuse);
    static std::unique_ptr<QFileDialog>
    makeFileDialog(const FileChooser& chooser, QFileDialog::AcceptMode mode, QWidget* parent);
    static std::unique_ptr<QFileDialog>
    makeFolderDialog(const QString& title, const std::filesystem::path& start, QWidget* parent);
    static std::unique_ptr<QColorDialog> makeColorDialog(std::uint32_t initial, QWidget* parent);

    // Colours of the comic are 0x00BBGGRR values.
    static QColor qtColor(std::uint32_t bgr);
    static std::uint32_t bgrOf(const QColor& color);

private:
    std::optional<std::filesystem::path> runFileDialog(QFileDialog& dialog);

    QPointer<QWidget> parent_;
};

} // namespace pagora
