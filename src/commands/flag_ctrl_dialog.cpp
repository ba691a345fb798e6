#include "commands/flag_ctrl_dialog.h"

#include "commands/name_lists.h"
#include "gui/controls.h"
#include "gui/help_topics.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pagora {
namespace {

constexpr int kInvert = 2;

} // namespace

TfrmFlagCtrl::TfrmFlagCtrl(DialogContext& context, QWidget* parent)
    : TRecordDialog(context, {"TfrmFlagCtrl", QStringLiteral("フラグの操作"), kFlagCtrlHelpTopic},
                    parent)
    , cmbFlagName(makeList("cmbFlagName", {}, this))
    , cmbFlagCtrl(makeList(
          "cmbFlagCtrl", {QStringLiteral("ＯＮ"), QStringLiteral("ＯＦＦ"), QStringLiteral("反転")},
          this))
    , Label2(new QLabel(QStringLiteral("にする"), this))
    , btnFlagSet(makeButton(QStringLiteral("フラグセット"), "btnFlagSet", this)) {
    Label2->setObjectName(QStringLiteral("Label2"));
    cmbFlagName->setMinimumContentsLength(12);

    auto* group = new QGroupBox(QStringLiteral("フラグの操作をする"), this);
    auto* sentence = new QHBoxLayout(group);
    sentence->addWidget(cmbFlagName, 1);
    sentence->addWidget(new QLabel(QStringLiteral("を"), group));
    sentence->addWidget(cmbFlagCtrl);
    sentence->addWidget(Label2);

    auto* layout = new QVBoxLayout;
    layout->addWidget(group);
    layout->addWidget(btnFlagSet, 0, Qt::AlignLeft);
    setBody(layout);

    connect(cmbFlagCtrl, &QComboBox::currentIndexChanged, this, &TfrmFlagCtrl::cmbFlagCtrlChange);
    connect(btnFlagSet, &QPushButton::clicked, this, &TfrmFlagCtrl::btnFlagSetClick);
}

void TfrmFlagCtrl::fillFlagList() {
    fillNameList(*cmbFlagName, variableNames(context_.flags, VariableNames::Numeric));
}

void TfrmFlagCtrl::showRecord(const TCmdFlagCtrl& record) {
    cmbFlagName->clear();
    fillFlagList();
    selectName(*cmbFlagName, bareName(record.FlagName, '%'));
    cmbFlagCtrl->setCurrentIndex(record.Operation); // one outside the list chooses none
    cmbFlagCtrlChange();
}

void TfrmFlagCtrl::cmbFlagCtrlChange() {
    Label2->setText(cmbFlagCtrl->currentIndex() == kInvert ? QStringLiteral("する")
                                                           : QStringLiteral("にする"));
}

void TfrmFlagCtrl::btnFlagSetClick() {
    context_.editVariables(this);
    fillFlagList();
}

void TfrmFlagCtrl::fillRecord(TCmdFlagCtrl& record) {
    record.FlagName = "%" + requiredVariable(*cmbFlagName) + "%";
    if (cmbFlagCtrl->currentIndex() < 0)
        throw FieldError(QStringLiteral("フラグの操作が選択されていません"), cmbFlagCtrl);
    record.Operation = cmbFlagCtrl->currentIndex();
}

} // namespace pagora
