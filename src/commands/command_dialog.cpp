#include "commands/command_dialog.h"

#include "editor/dialog_buttons.h"
#include "editor/editor_context.h"
#include "editor/help_viewer.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/prompter.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace pagora {

TCommandDialog::TCommandDialog(EditorContext& context, int helpTopic, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , helpTopic_(helpTopic) {
    const DialogButtonRow buttons = makeDialogButtonRow(this);
    buttonRow_ = buttons.layout;
    connect(buttons.ok, &QPushButton::clicked, this, &TCommandDialog::btnOKClick);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(buttons.help, &QPushButton::clicked, this, &TCommandDialog::btnHelpClick);
}

bool TCommandDialog::Edit(const std::string& line) {
    loadLine(line);
    context_.services.runModal(*this);
    return confirmed_;
}

void TCommandDialog::loadLine(const std::string& line) {
    line_ = line;
    confirmed_ = false;
    showLine(line);
}

void TCommandDialog::btnOKClick() {
    line_ = buildLine();
    confirmed_ = true;
    accept();
}

void TCommandDialog::btnHelpClick() {
    showHelpTopic(context_.services, helpTopic_);
}

void TCommandDialog::addOptionButton(TOptParam& option, OptionGroups allowed) {
    option_ = &option;
    optionGroups_ = allowed;
    QPushButton* button = makeButton(QStringLiteral("オプション"), "btnOption", this);
    buttonRow_->insertWidget(1, button); // first after the stretch
    connect(button, &QPushButton::clicked, this, &TCommandDialog::btnOptionClick);
}

void TCommandDialog::btnOptionClick() {
    if (option_ == nullptr)
        return;
    TfrmOptionSet dialog(context_, this);
    dialog.load(*option_, optionGroups_);
    context_.services.runModal(dialog);
    *option_ = dialog.option();
}

std::optional<std::filesystem::path> TCommandDialog::dataFolderForFiles() const {
    if (context_.session.isUntitled()) {
        context_.prompter().information(
            PAGORA_CP932("この機能を使うためには\nファイルを一度セーブする必要があります"));
        return std::nullopt;
    }
    return dataFolder(context_.session.fileName,
                      context_.comic().ReadHeader("Comic", "DataDirectory", ""));
}

} // namespace pagora
