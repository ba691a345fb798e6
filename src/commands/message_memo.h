#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QMenu;
class QPlainTextEdit;
class QToolButton;

namespace pagora {

struct DialogContext;

// The text of a message as the message and string dialogs edit it: a memo
// whose lines are the text's "#"-separated lines, above a row of buttons
// that put tags and variables into the memo's selection, with a pop-up menu
// of its own.
//
// Buttons: spdbtnCut, spdbtnCopy, spdbtnPaste, spdbtnValueFlag,
// spdbtnStringFlag, spdbtnColor, spdbtnFontNormal, spdbtnFontBold,
// spdbtnFontItalic, spdbtnFontSize, spdbtnWaitTime, spdbtnKey, spdbtnFast,
// spdbtnNormal, spdbtnSlow. Pop-up items: popCut, popCopy, popPaste,
// popValueFlag, popStringFlag.
class MessageMemo : public QWidget {
    Q_OBJECT

public:
    MessageMemo(DialogContext& context, const char* memoName, QWidget* parent = nullptr);

    QPlainTextEdit& memo() const { return *memo_; }

    // Shows a text (CP932), one line per "#"-separated piece.
    void setMessageText(std::string_view cp932);
    // The memo's lines joined with "#", an empty line as one space (a line
    // must hold something). Throws FieldError naming the memo when it holds a
    // character CP932 cannot.
    std::string messageText() const;
    // The lines joined with "#" as they stand, for previews.
    QString previewText() const;

    // The buttons' steps, on the memo's selection (or caret).
    void insertBefore(const QString& tag); // tag + selection
    void wrapStyle(const QString& tag);    // tag + selection + "<N>", or the tag alone
    void changeFontSize(int points);       // around the selection, or the tag alone
    void embedVariable(bool numeric);      // the chosen variable replaces the selection
    void spdbtnFontSizeClick();
    void spdbtnWaitTimeClick();
    void spdbtnColorClick();

signals:
    void textChanged();

private:
    QToolButton* addButton(const char* name, const QString& text, const QString& hint);
    void showPopup(const QPoint& position);
    QPoint belowButton(const char* name) const;

    DialogContext& context_;
    QPlainTextEdit* memo_;
    QWidget* buttons_;
    QMenu* popup_ = nullptr;
    std::uint32_t lastColor_ = 0;
};

} // namespace pagora
