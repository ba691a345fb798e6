#pragma once

#include "gui/qt_text.h"
#include "platform/errors.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <exception>
#include <string>

class QComboBox;
class QHBoxLayout;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace pagora {

struct DialogServices;

// A push button with its control name. It never becomes the default button
// just by taking the focus, so Enter means OK wherever the focus is.
QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent = nullptr);

// Runs dialog modally through the services' runner; true when it closed
// accepted. The dialog's own result decides, whoever runs the loop: a test's
// runner drives the steps and need not pass the result on.
bool runModalDialog(DialogServices& services, QDialog& dialog);

// What a dialog's frame shows: its caption and name, and which buttons its
// foot holds besides OK.
struct FrameSpec {
    const char* objectName; // the dialog's class name
    QString caption;
    int helpTopic = 0; // the help button's topic; 0 for no help button
    QString cancelCaption = QStringLiteral("キャンセル"); // empty for no Cancel button
};

// A control's value refused by OK: the message to show and the control the
// user must change. Without a message the user has been told already, by a
// check of the core that reports through the Prompter (CheckName, CheckText).
class FieldError : public std::exception {
public:
    FieldError(QString message, QWidget* control);
    explicit FieldError(QWidget* control)
        : FieldError(QString(), control) {}
    const char* what() const noexcept override { return utf8_.c_str(); }
    const QString& message() const { return message_; }
    QWidget* control() const { return control_; }

private:
    QString message_;
    std::string utf8_;
    QPointer<QWidget> control_;
};

// Reads a value of control; the code-page and conversion errors of the core
// become FieldErrors naming the control.
template <typename Read> auto readField(QWidget& control, Read read) -> decltype(read());

// The CP932 text of a control; a character CP932 cannot hold is a FieldError.
std::string fieldText(QLineEdit& edit);
std::string fieldText(QPlainTextEdit& edit);
std::string fieldText(QComboBox& box);

// The frame of every dialog: caption and objectName, the dialog's body above
// a right-aligned button row (OK, then Cancel and Help when the dialog has
// them), the help topic, the modal run, and the OK step: commit() reads the
// controls into the dialog's result or shows why it cannot, in one place.
class DialogFrame : public QDialog {
    Q_OBJECT

public:
    // Runs the dialog modally through the services' runner; true when it
    // closed with OK.
    bool runModal();

    // OK: commits, and closes the dialog when that succeeded. Nothing while
    // the OK button is disabled, however OK was asked for.
    void btnOKClick();
    void btnHelpClick();

protected:
    DialogFrame(DialogServices& services, const FrameSpec& spec, QWidget* parent);

    // The dialog's own controls, above the button row.
    void setBody(QWidget* body);
    void setBody(QLayout* body);
    // The button row, for a dialog's own buttons; its first item is the
    // stretch that pushes the buttons right.
    QHBoxLayout& buttonRow() const { return *buttonRow_; }
    QPushButton& okButton() const { return *btnOK_; }

    // Reads the controls into the dialog's result. A refusal throws
    // FieldError, or the core's EncodingError or ConversionError; the dialog
    // then stays open.
    virtual void readControls() = 0;
    // Runs readControls(); on a refusal shows its message (if it has one),
    // brings the control named in it into view and focuses it. True when it
    // succeeded.
    bool commit();

    DialogServices& services_;

private:
    void showRefusal(const QString& message, QWidget* control);

    int helpTopic_;
    QPushButton* btnOK_;
    QVBoxLayout* layout_;
    QHBoxLayout* buttonRow_;
};

template <typename Read> auto readField(QWidget& control, Read read) -> decltype(read()) {
    try {
        return read();
    } catch (const EncodingError& error) {
        throw FieldError(errorText(error), &control);
    } catch (const ConversionError& error) {
        throw FieldError(errorText(error), &control);
    }
}

} // namespace pagora
