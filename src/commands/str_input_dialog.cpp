#include "commands/str_input_dialog.h"

#include "commands/name_lists.h"
#include "gui/controls.h"
#include "gui/help_topics.h"
#include "gui/qt_text.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace pagora {

TfrmStrInput::TfrmStrInput(DialogContext& context, QWidget* parent)
    : TRecordDialog(context, {"TfrmStrInput", QStringLiteral("文字列の入力"), kStrInputHelpTopic},
                    parent)
    , edtCaption(makeLineEdit("edtCaption", this))
    , edtMessages(makeLineEdit("edtMessages", this))
    , cmbFlagName(makeList("cmbFlagName", {}, this)) {
    edtMessages->setAttribute(Qt::WA_InputMethodEnabled);
    edtMessages->setMinimumWidth(320);
    cmbFlagName->setMinimumContentsLength(16);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("タイトル"), edtCaption);
    fields->addRow(QStringLiteral("メッセージ"), edtMessages);
    fields->addRow(QStringLiteral("代入変数"), cmbFlagName);
    setBody(fields);
}

void TfrmStrInput::showRecord(const TCmdStrInput& record) {
    fillNameList(*cmbFlagName, variableNames(context_.flags, VariableNames::String));
    selectName(*cmbFlagName, bareName(record.Target, '$'));
    edtCaption->setText(qtText(record.Title));
    edtMessages->setText(qtText(record.Message));
}

void TfrmStrInput::fillRecord(TCmdStrInput& record) {
    record.Title = unquotedText(context_.syntax, fieldText(*edtCaption), *edtCaption);
    record.Message = unquotedText(context_.syntax, fieldText(*edtMessages), *edtMessages);
    record.Target = "$" + requiredVariable(*cmbFlagName) + "$";
}

} // namespace pagora
