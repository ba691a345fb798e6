#include "gui/dialog_frame.h"

#include "gui/dialog_context.h"
#include "gui/help_viewer.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pagora {
namespace {

// Brings control into view: every tab page that holds it becomes the current one.
void showControl(QWidget& control) {
    for (QWidget* ancestor = control.parentWidget(); ancestor != nullptr;
         ancestor = ancestor->parentWidget()) {
        auto* tabs = qobject_cast<QTabWidget*>(ancestor);
        if (tabs == nullptr)
            continue;
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(&control))
                tabs->setCurrentIndex(i);
    }
}

} // namespace

QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

FieldError::FieldError(QString message, QWidget* control)
    : message_(std::move(message))
    , utf8_(utf8Of(message_))
    , control_(control) {
}

std::string fieldText(QLineEdit& edit) {
    return readField(edit, [&] { return cp932Text(edit.text()); });
}

std::string fieldText(QPlainTextEdit& edit) {
    return readField(edit, [&] { return cp932Text(edit.toPlainText()); });
}

std::string fieldText(QComboBox& box) {
    return readField(box, [&] { return cp932Text(box.currentText()); });
}

DialogFrame::DialogFrame(DialogServices& services, const FrameSpec& spec, QWidget* parent)
    : QDialog(parent)
    , services_(services)
    , helpTopic_(spec.helpTopic)
    , btnOK_(makeButton(QStringLiteral("OK"), "btnOK", this))
    , layout_(new QVBoxLayout(this))
    , buttonRow_(new QHBoxLayout) {
    setObjectName(QString::fromLatin1(spec.objectName));
    setWindowTitle(spec.caption);

    btnOK_->setDefault(true);
    buttonRow_->addStretch(1);
    buttonRow_->addWidget(btnOK_);
    connect(btnOK_, &QPushButton::clicked, this, &DialogFrame::btnOKClick);
    if (!spec.cancelCaption.isEmpty()) {
        QPushButton* cancel = makeButton(spec.cancelCaption, "btnCancel", this);
        buttonRow_->addWidget(cancel);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }
    if (helpTopic_ != 0) {
        QPushButton* help = makeButton(QStringLiteral("ヘルプ(&H)"), "btnHelp", this);
        buttonRow_->addWidget(help);
        connect(help, &QPushButton::clicked, this, &DialogFrame::btnHelpClick);
    }
    layout_->addLayout(buttonRow_);
}

bool runModalDialog(DialogServices& services, QDialog& dialog) {
    dialog.setResult(QDialog::Rejected);
    services.runModal(dialog);
    return dialog.result() == QDialog::Accepted;
}

bool DialogFrame::runModal() {
    return runModalDialog(services_, *this);
}

void DialogFrame::setBody(QWidget* body) {
    layout_->insertWidget(0, body, 1);
}

void DialogFrame::setBody(QLayout* body) {
    layout_->insertLayout(0, body, 1);
}

void DialogFrame::btnOKClick() {
    if (btnOK_->isEnabled() && commit())
        accept();
}

void DialogFrame::btnHelpClick() {
    showHelpTopic(services_, helpTopic_);
}

bool DialogFrame::commit() {
    try {
        readControls();
        return true;
    } catch (const FieldError& error) {
        showRefusal(error.message(), error.control());
    } catch (const EncodingError& error) {
        showRefusal(errorText(error), nullptr);
    } catch (const ConversionError& error) {
        showRefusal(errorText(error), nullptr);
    }
    return false;
}

void DialogFrame::showRefusal(const QString& message, QWidget* control) {
    if (!message.isEmpty())
        services_.showErrorBox(message);
    if (control == nullptr)
        return;
    showControl(*control);
    control->setFocus();
}

} // namespace pagora
