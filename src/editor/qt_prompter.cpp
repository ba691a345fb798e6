#include "editor/qt_prompter.h"

#include "gui/qt_text.h"
#include "platform/errors.h"

#include <QColorDialog>
#include <QInputDialog>
#include <QPushButton>

namespace pagora {
namespace {

QString captionOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QStringLiteral("エラー");
    case MessageKind::Warning:
        return QStringLiteral("警告");
    case MessageKind::Information:
        return QStringLiteral("情報");
    case MessageKind::Confirmation:
        return QStringLiteral("確認");
    }
    return {};
}

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton escapeButton;
};

// The first button is the default, as on the system these boxes come from;
// Escape and the close box give the answer that loses nothing.
ButtonSet buttonSetOf(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
    case Buttons::OkCancel:
        return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::YesNo:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
    case Buttons::YesNoCancel:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                QMessageBox::Cancel};
    case Buttons::AbortIgnore:
        return {QMessageBox::Abort | QMessageBox::Ignore, QMessageBox::Abort, QMessageBox::Ignore};
    }
    return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
}

std::optional<Answer> answerOfButton(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    default:
        return std::nullopt;
    }
}

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

} // namespace

QString QtPrompter::shownText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!isLineBreak(c)) {
            shown.append(c);
            continue;
        }
        shown.append(QLatin1Char('\n'));
        if (i + 1 < text.size() && isLineBreak(text.at(i + 1)) && text.at(i + 1) != c)
            ++i;
    }
    return shown;
}

std::unique_ptr<QMessageBox> QtPrompter::makeMessageBox(MessageKind kind, const QString& text,
                                                        Buttons buttons, QWidget* parent) {
    const ButtonSet set = buttonSetOf(buttons);
    auto box = std::make_unique<QMessageBox>(iconOf(kind), captionOf(kind), shownText(text),
                                             set.buttons, parent);
    box->setDefaultButton(set.defaultButton);
    box->setEscapeButton(set.escapeButton);
    return box;
}

Answer QtPrompter::answerFor(QAbstractButton* clicked, const QMessageBox& box, Buttons buttons) {
    if (clicked == nullptr)
        return safeDefault(buttons);
    return answerOfButton(box.standardButton(clicked)).value_or(safeDefault(buttons));
}

Answer QtPrompter::message(MessageKind kind, std::string_view text, Buttons buttons) {
    const std::unique_ptr<QMessageBox> box = makeMessageBox(kind, qtText(text), buttons, parent_);
    box->exec();
    return answerFor(box->clickedButton(), *box, buttons);
}

void QtPrompter::showErrorText(const QString& text) {
    const std::unique_ptr<QMessageBox> box =
        makeMessageBox(MessageKind::Error, text, Buttons::Ok, parent_);
    box->exec();
}

std::unique_ptr<QInputDialog> QtPrompter::makeInputDialog(const QString& caption,
                                                          const QString& prompt,
                                                          const QString& initial, QWidget* parent) {
    auto dialog = std::make_unique<QInputDialog>(parent);
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setWindowTitle(caption);
    dialog->setLabelText(shownText(prompt));
    dialog->setTextValue(initial);
    return dialog;
}

std::optional<std::string>
QtPrompter::acceptedInput(const QString& typed, const std::function<void(const QString&)>& refuse) {
    try {
        return cp932Text(typed);
    } catch (const EncodingError& error) {
        refuse(errorText(error));
        return std::nullopt;
    }
}

std::optional<std::string> QtPrompter::inputText(std::string_view caption, std::string_view prompt,
                                                 std::string_view initial) {
    QString text = qtText(initial);
    for (;;) {
        const std::unique_ptr<QInputDialog> dialog =
            makeInputDialog(qtText(caption), qtText(prompt), text, parent_);
        if (dialog->exec() != QDialog::Accepted)
            return std::nullopt;
        text = dialog->textValue();
        if (std::optional<std::string> accepted =
                acceptedInput(text, [this](const QString& why) { showErrorText(why); }))
            return accepted;
    }
}

std::unique_ptr<QFileDialog> QtPrompter::makeFileDialog(const FileChooser& chooser,
                                                        QFileDialog::AcceptMode mode,
                                                        QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, utf8Text(chooser.title));
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    if (!chooser.filter.empty()) {
        const QStringList filters = utf8Text(chooser.filter).split(QStringLiteral(";;"));
        dialog->setNameFilters(filters);
        dialog->selectNameFilter(filters.value(chooser.selectedFilter));
    }
    if (!chooser.defaultSuffix.empty())
        dialog->setDefaultSuffix(utf8Text(chooser.defaultSuffix));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !chooser.confirmOverwrite);
    const std::filesystem::path& start = chooser.startIn;
    std::error_code ignored;
    if (std::filesystem::is_directory(start, ignored)) {
        dialog->setDirectory(pathText(start));
    } else if (!start.empty()) {
        if (start.has_parent_path() && std::filesystem::is_directory(start.parent_path(), ignored))
            dialog->setDirectory(pathText(start.parent_path()));
        dialog->selectFile(pathText(start.filename()));
    }
    return dialog;
}

std::unique_ptr<QFileDialog> QtPrompter::makeFolderDialog(const QString& title,
                                                          const std::filesystem::path& start,
                                                          QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, title, pathText(start));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    return dialog;
}

std::optional<std::filesystem::path> QtPrompter::runFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return pathFromText(dialog.selectedFiles().constFirst());
}

std::optional<std::filesystem::path> QtPrompter::openFile(const FileChooser& chooser) {
    const std::unique_ptr<QFileDialog> dialog =
        makeFileDialog(chooser, QFileDialog::AcceptOpen, parent_);
    return runFileDialog(*dialog);
}

std::optional<std::filesystem::path> QtPrompter::saveFile(const FileChooser& chooser) {
    const std::unique_ptr<QFileDialog> dialog =
        makeFileDialog(chooser, QFileDialog::AcceptSave, parent_);
    return runFileDialog(*dialog);
}

std::optional<std::filesystem::path> QtPrompter::chooseFolder(std::string_view title,
                                                              const std::filesystem::path& start) {
    const std::unique_ptr<QFileDialog> dialog = makeFolderDialog(utf8Text(title), start, parent_);
    return runFileDialog(*dialog);
}

QColor QtPrompter::qtColor(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t QtPrompter::bgrOf(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) |
           static_cast<std::uint32_t>(color.green()) << 8 |
           static_cast<std::uint32_t>(color.blue()) << 16;
}

std::unique_ptr<QColorDialog> QtPrompter::makeColorDialog(std::uint32_t initial, QWidget* parent) {
    return std::make_unique<QColorDialog>(qtColor(initial), parent);
}

std::optional<std::uint32_t> QtPrompter::chooseColor(std::uint32_t initial) {
    const std::unique_ptr<QColorDialog> dialog = makeColorDialog(initial, parent_);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return bgrOf(dialog->selectedColor());
}

} // namespace pagora
