#include "commands/command_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace pagora {

std::optional<OptionGroups> optionGroupsOf(CmdKind kind) {
    switch (kind) {
    case CmdKind::WaitTime:
    case CmdKind::WindowShow:
    case CmdKind::StrInput:
        return std::nullopt;
    case CmdKind::SelectDlg:
    case CmdKind::MouseClick:
        return OptionGroups{true, true};
    default:
        return OptionGroups{true, false};
    }
}

std::string unquotedText(TCmdCtrl& syntax, std::string text, QWidget& control) {
    if (text.find('"') == std::string::npos)
        return text;
    syntax.QuoteParam(text); // tells the user
    throw FieldError(&control);
}

TCommandDialog::TCommandDialog(DialogContext& context, const FrameSpec& spec, CmdKind kind,
                               QWidget* parent)
    : DialogFrame(context.services, spec, parent)
    , context_(context)
    , optionGroups_(optionGroupsOf(kind)) {
    if (!optionGroups_)
        return;
    QPushButton* button = makeButton(QStringLiteral("オプション"), "btnOption", this);
    buttonRow().insertWidget(1, button); // first after the stretch
    connect(button, &QPushButton::clicked, this, &TCommandDialog::btnOptionClick);
}

std::optional<std::string> TCommandDialog::run(const std::string& line) {
    loadLine(line);
    if (!runModal())
        return std::nullopt;
    return line_;
}

void TCommandDialog::loadLine(const std::string& line) {
    line_ = line;
    showLine(line);
}

void TCommandDialog::readControls() {
    line_ = buildLine();
}

void TCommandDialog::btnOptionClick() {
    if (!optionGroups_)
        return;
    TfrmOptionSet dialog(context_, this);
    if (const std::optional<TOptParam> option = dialog.run(options(), *optionGroups_))
        options() = *option;
}

} // namespace pagora
