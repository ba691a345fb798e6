#include "commands/string_ctrl_dialog.h"

#include "commands/message_memo.h"
#include "commands/name_lists.h"
#include "gui/controls.h"
#include "gui/help_topics.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pagora {

TfrmStringCtrl::TfrmStringCtrl(DialogContext& context, QWidget* parent)
    : TRecordDialog(context,
                    {"TfrmStringCtrl", QStringLiteral("文字列変数の操作"), kStringCtrlHelpTopic},
                    parent)
    , cmbStringFlag(makeList("cmbStringFlag", {}, this))
    , memText(new MessageMemo(context, "memText", this))
    , btnFlagSet(makeButton(QStringLiteral("変数セット"), "btnFlagSet", this)) {
    memText->memo().setAttribute(Qt::WA_InputMethodEnabled);
    memText->memo().setMinimumHeight(120);
    cmbStringFlag->setMinimumContentsLength(16);

    auto* target = new QHBoxLayout;
    target->addWidget(new QLabel(QStringLiteral("代入先変数名"), this));
    target->addWidget(cmbStringFlag);
    target->addStretch(1);
    target->addWidget(btnFlagSet);

    auto* group = new QGroupBox(QStringLiteral("文字列変数の操作"), this);
    auto* inside = new QVBoxLayout(group);
    inside->addLayout(target);
    inside->addWidget(memText, 1);
    setBody(group);
    resize(560, 340);

    connect(btnFlagSet, &QPushButton::clicked, this, &TfrmStringCtrl::btnFlagSetClick);
}

void TfrmStringCtrl::fillTargetList() {
    fillNameList(*cmbStringFlag, variableNames(context_.flags, VariableNames::String));
}

void TfrmStringCtrl::showRecord(const TCmdStringCtrl& record) {
    fillTargetList();
    selectName(*cmbStringFlag, bareName(record.Target, '$'));
    memText->setMessageText(record.Value);
}

void TfrmStringCtrl::btnFlagSetClick() {
    context_.editVariables(this);
    fillTargetList();
}

// Unlike a message, the text is not checked for its delimiters or for
// characters a name may not hold.
void TfrmStringCtrl::fillRecord(TCmdStringCtrl& record) {
    record.Target = "$" + requiredVariable(*cmbStringFlag) + "$";
    record.Value = unquotedText(context_.syntax, memText->messageText(), memText->memo());
}

} // namespace pagora
