#include "commands/value_ctrl_dialog.h"

#include "commands/name_lists.h"
#include "gui/controls.h"
#include "gui/help_topics.h"
#include "gui/number_pad.h"
#include "gui/qt_text.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string>

namespace pagora {
namespace {

// Operator positions 0 to 4 are stored as 1 to 5; 0 means none chosen.
constexpr int kOperators = 5;

void showOperand(OperandControls& operand, const std::string& value) {
    if (value.starts_with('%')) {
        selectName(*operand.variable, bareName(value, '%'));
        operand.byVariable->setChecked(true);
        return;
    }
    operand.variable->setCurrentIndex(-1);
    operand.number->setEditText(qtText(value)); // not a number: 0
    operand.byNumber->setChecked(true);
}

std::string operandOf(OperandControls& operand) {
    if (operand.byNumber->isChecked())
        return std::to_string(operand.number->value());
    return "%" + requiredVariable(*operand.variable) + "%";
}

void enableOperand(OperandControls& operand) {
    operand.number->setEnabled(operand.byNumber->isChecked());
    operand.variable->setEnabled(operand.byVariable->isChecked());
}

QWidget* operandBox(const OperandControls& operand, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(operand.byNumber, 0, 0);
    grid->addWidget(operand.number, 0, 1);
    grid->addWidget(operand.byVariable, 1, 0);
    grid->addWidget(operand.variable, 1, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

} // namespace

TfrmValueCtrl::TfrmValueCtrl(DialogContext& context, QWidget* parent)
    : TRecordDialog(
          context, {"TfrmValueCtrl", QStringLiteral("数値変数の操作"), kValueCtrlHelpTopic}, parent)
    , cmbValueFlag(makeList("cmbValueFlag", {}, this))
    , operand1_(makeOperand(1))
    , cmbValueCtrlType(makeList("cmbValueCtrlType",
                                {QStringLiteral("＋"), QStringLiteral("－"), QStringLiteral("×"),
                                 QStringLiteral("÷"), QStringLiteral("mod")},
                                this))
    , operand2_(makeOperand(2))
    , btnFlagSet(makeButton(QStringLiteral("変数セット"), "btnFlagSet", this)) {
    cmbValueFlag->setMinimumContentsLength(12);

    auto* group = new QGroupBox(QStringLiteral("数値変数の操作"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(cmbValueFlag, 0, 0, Qt::AlignTop);
    grid->addWidget(new QLabel(QStringLiteral("←"), group), 0, 1, Qt::AlignTop);
    grid->addWidget(operandBox(operand1_, group), 0, 2);
    grid->addWidget(cmbValueCtrlType, 0, 3, Qt::AlignTop);
    grid->addWidget(operandBox(operand2_, group), 0, 4);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(4, 1);

    auto* layout = new QVBoxLayout;
    layout->addWidget(group);
    layout->addWidget(btnFlagSet, 0, Qt::AlignLeft);
    setBody(layout);

    connect(btnFlagSet, &QPushButton::clicked, this, &TfrmValueCtrl::btnFlagSetClick);
}

OperandControls TfrmValueCtrl::makeOperand(int number) {
    const std::string digit = std::to_string(number);
    OperandControls operand;
    operand.byNumber =
        makeRadioButton(("rbValue" + digit).c_str(), QStringLiteral("数値を使用"), this);
    operand.byVariable =
        makeRadioButton(("rbValueFlag" + digit).c_str(), QStringLiteral("変数を使用"), this);
    operand.number = new NumberBox(context_.numberPad, this);
    operand.number->setObjectName(QStringLiteral("cmbValue%1").arg(number));
    operand.variable = makeList(("cmbValueFlag" + digit).c_str(), {}, this);
    operand.variable->setMinimumContentsLength(10);
    // Each operand's pair of radio buttons excludes only its own partner.
    auto* pair = new QButtonGroup(this);
    pair->addButton(operand.byNumber);
    pair->addButton(operand.byVariable);
    operand.byNumber->setChecked(true);
    connect(operand.byNumber, &QRadioButton::toggled, this, &TfrmValueCtrl::updateControls);
    return operand;
}

void TfrmValueCtrl::fillVariableLists() {
    const TFlagCtrl& flags = context_.flags;
    fillNameList(*cmbValueFlag, variableNames(flags, VariableNames::Numeric));
    for (OperandControls* operand : {&operand1_, &operand2_})
        fillNameList(*operand->variable, variableNames(flags, VariableNames::NumericWithBuiltIns));
}

void TfrmValueCtrl::showRecord(const TCmdValueCtrl& record) {
    fillVariableLists();
    selectName(*cmbValueFlag, bareName(record.Operands[0], '%'));
    showOperand(operand1_, record.Operands[1]);
    showOperand(operand2_, record.Operands[2]);
    const bool known = record.Operator >= 1 && record.Operator <= kOperators;
    cmbValueCtrlType->setCurrentIndex(known ? record.Operator - 1 : -1);
    updateControls();
}

void TfrmValueCtrl::updateControls() {
    enableOperand(operand1_);
    enableOperand(operand2_);
}

void TfrmValueCtrl::btnFlagSetClick() {
    context_.editVariables(this);
    fillVariableLists();
}

void TfrmValueCtrl::fillRecord(TCmdValueCtrl& record) {
    record.Operands = {"%" + requiredVariable(*cmbValueFlag) + "%", operandOf(operand1_),
                       operandOf(operand2_)};
    record.Operator = cmbValueCtrlType->currentIndex() + 1; // none chosen: 0
}

} // namespace pagora
