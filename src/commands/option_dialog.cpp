#include "commands/option_dialog.h"

#include "commands/name_lists.h"
#include "document/flag_ctrl.h"
#include "gui/controls.h"
#include "gui/dialog_context.h"
#include "gui/help_topics.h"
#include "gui/number_pad.h"
#include "gui/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <string_view>

namespace pagora {
namespace {

// What tells the numeric and the string condition tab apart.
struct ConditionTabText {
    QString prefix; // of the control names: "If" or "IfS"
    QString caption;
    QString check;
    QStringList operators;
    std::vector<int> operatorCodes;
    QString literalKind; // "Number" or "Text", for the radio button's name
    QString literalCaption;
};

QWidget* buildConditionTab(ConditionControls& tab, const ConditionTabText& text, QWidget* literal) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tab") + text.prefix);
    tab.check = makeCheckBox(QStringLiteral("chk") + text.prefix, text.check, page);
    tab.left = makeList(QStringLiteral("cmb%1Left").arg(text.prefix), {}, page);
    tab.op = makeList(QStringLiteral("cmb%1Operator").arg(text.prefix), text.operators, page);
    tab.operatorCodes = text.operatorCodes;
    tab.byLiteral = makeRadioButton(QStringLiteral("rb") + text.prefix + text.literalKind,
                                    text.literalCaption, page);
    tab.byVariable = makeRadioButton(QStringLiteral("rb%1Variable").arg(text.prefix),
                                     QStringLiteral("変数と比較"), page);
    tab.right = makeList(QStringLiteral("cmb%1Right").arg(text.prefix), {}, page);

    auto* layout = new QGridLayout(page);
    layout->addWidget(tab.check, 0, 0, 1, 2);
    layout->addWidget(tab.left, 1, 0);
    layout->addWidget(tab.op, 1, 1);
    layout->addWidget(tab.byLiteral, 2, 0);
    layout->addWidget(literal, 2, 1);
    layout->addWidget(tab.byVariable, 3, 0);
    layout->addWidget(tab.right, 3, 1);
    layout->setRowStretch(4, 1);
    return page;
}

QWidget* literalBox(const ConditionControls& tab) {
    return tab.number != nullptr ? static_cast<QWidget*>(tab.number) : tab.text;
}

// Selects the name, adding it first when the list lacks it (a variable the
// comic no longer declares), so that the condition survives the dialog.
void selectKeeping(QComboBox& list, const std::string& name) {
    if (name.empty()) {
        list.setCurrentIndex(-1);
        return;
    }
    selectName(list, name);
    if (list.currentIndex() >= 0)
        return;
    list.addItem(qtText(name), nameData(name));
    list.setCurrentIndex(list.count() - 1);
}

void resetCondition(ConditionControls& tab) {
    tab.check->setChecked(false);
    tab.left->setCurrentIndex(-1);
    tab.op->setCurrentIndex(-1);
    tab.right->setCurrentIndex(-1);
    if (tab.number != nullptr)
        tab.number->setValue(0);
    else
        tab.text->clear();
    tab.byLiteral->setChecked(true);
}

void showCondition(ConditionControls& tab, const TIfParam& condition) {
    if (condition.Operator == -1)
        return;
    tab.check->setChecked(true);
    selectKeeping(*tab.left, bareName(condition.Left, '%'));
    const auto code = std::ranges::find(tab.operatorCodes, condition.Operator);
    tab.op->setCurrentIndex(
        code == tab.operatorCodes.end() ? -1 : static_cast<int>(code - tab.operatorCodes.begin()));
    if (condition.Right.starts_with('%')) {
        selectKeeping(*tab.right, bareName(condition.Right, '%'));
        tab.byVariable->setChecked(true);
    } else {
        if (tab.number != nullptr)
            tab.number->setEditText(qtText(condition.Right));
        else
            tab.text->setText(qtText(condition.Right));
        tab.byLiteral->setChecked(true);
    }
}

// Refuses typed text with a character CP932 cannot hold.
std::string literalOf(const ConditionControls& tab) {
    if (tab.number != nullptr)
        return std::to_string(tab.number->value());
    return fieldText(*tab.text);
}

// The condition as set, or none when it is switched off or lacks a part:
// an operator, the left variable, or the right variable it compares with.
TIfParam conditionOf(const ConditionControls& tab) {
    const int position = tab.op->currentIndex();
    if (!tab.check->isChecked() || position < 0)
        return {};
    const std::string left = chosenName(*tab.left);
    std::string right;
    if (!tab.byVariable->isChecked())
        right = literalOf(tab);
    else if (const std::string name = chosenName(*tab.right); !name.empty())
        right = "%" + name + "%";
    else
        return {};
    if (left.empty())
        return {};
    return {"%" + left + "%", right, tab.operatorCodes[static_cast<std::size_t>(position)]};
}

void updateCondition(ConditionControls& tab, bool allowed) {
    tab.check->setEnabled(allowed);
    const bool on = allowed && tab.check->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(tab.left), static_cast<QWidget*>(tab.op),
          static_cast<QWidget*>(tab.byLiteral), static_cast<QWidget*>(tab.byVariable)})
        control->setEnabled(on);
    literalBox(tab)->setEnabled(on && tab.byLiteral->isChecked());
    tab.right->setEnabled(on && tab.byVariable->isChecked());
}

QWidget* buildTimeTab(QCheckBox*& chkTime, NumberBox*& cmbTime, QCheckBox*& chkTimeHide,
                      TfrmValueEdit& pad) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabTime"));
    chkTime = makeCheckBox(QStringLiteral("chkTime"), QStringLiteral("実行時間を制限する"), page);
    cmbTime = new NumberBox(pad, page);
    cmbTime->setObjectName(QStringLiteral("cmbTime"));
    chkTimeHide = makeCheckBox(QStringLiteral("chkTimeHide"),
                               QStringLiteral("タイマーゲージを表示しない"), page);

    auto* seconds = new QHBoxLayout;
    seconds->addWidget(cmbTime);
    seconds->addWidget(new QLabel(QStringLiteral("秒間経過すると"), page));
    seconds->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(chkTime);
    layout->addLayout(seconds);
    layout->addWidget(new QLabel(QStringLiteral("強制的に現在のコマンドの実行を終了します"), page));
    layout->addWidget(chkTimeHide);
    layout->addStretch(1);
    return page;
}

} // namespace

TfrmOptionSet::TfrmOptionSet(DialogContext& context, QWidget* parent)
    : DialogFrame(
          context.services,
          {"TfrmOptionSet", QStringLiteral("コマンドオプションの設定"), kOptionSetHelpTopic},
          parent)
    , context_(context) {
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setUsesScrollButtons(false); // all three tabs in sight

    numeric_.number = new NumberBox(context.numberPad);
    numeric_.number->setObjectName(QStringLiteral("cmbIfValue"));
    const ConditionTabText numericText{QStringLiteral("If"),
                                       QStringLiteral("実行条件の設定１"),
                                       QStringLiteral("数値変数の値によって実行を制御"),
                                       {QStringLiteral("＝"), QStringLiteral("≠"),
                                        QStringLiteral(">="), QStringLiteral("<="),
                                        QStringLiteral("＞"), QStringLiteral("＜")},
                                       {0, 1, 2, 3, 4, 5},
                                       QStringLiteral("Number"),
                                       QStringLiteral("数値と比較")};
    PageControl->addTab(buildConditionTab(numeric_, numericText, numeric_.number),
                        numericText.caption);

    string_.text = makeLineEdit(QStringLiteral("edtIfSValue"), nullptr);
    const ConditionTabText stringText{
        QStringLiteral("IfS"),
        QStringLiteral("実行条件の設定２"),
        QStringLiteral("文字列変数の値によって実行を制御"),
        {QStringLiteral("＝"), QStringLiteral("≠"), QStringLiteral("⊆")},
        {0, 1, 6},
        QStringLiteral("Text"),
        QStringLiteral("文字列と比較")};
    PageControl->addTab(buildConditionTab(string_, stringText, string_.text), stringText.caption);

    PageControl->addTab(buildTimeTab(chkTime, cmbTime, chkTimeHide, context.numberPad),
                        QStringLiteral("制限時間の設定"));

    setBody(PageControl);
    for (QAbstractButton* toggle :
         {static_cast<QAbstractButton*>(numeric_.check),
          static_cast<QAbstractButton*>(numeric_.byLiteral),
          static_cast<QAbstractButton*>(string_.check),
          static_cast<QAbstractButton*>(string_.byLiteral), static_cast<QAbstractButton*>(chkTime)})
        connect(toggle, &QAbstractButton::toggled, this, &TfrmOptionSet::updateControls);
}

std::optional<TOptParam> TfrmOptionSet::run(const TOptParam& option, OptionGroups allowed) {
    load(option, allowed);
    if (!runModal())
        return std::nullopt;
    return option_;
}

void TfrmOptionSet::load(const TOptParam& option, OptionGroups allowed) {
    option_ = option;
    allowed_ = allowed;
    fillVariableLists();
    resetControls();
    showCondition(numeric_, option.If);
    showCondition(string_, option.IfS);
    showTime(option.Time, option.TimeHide);
    updateControls();
}

void TfrmOptionSet::fillVariableLists() {
    const TFlagCtrl& flags = context_.flags;
    const auto fill = [&flags](QComboBox& list, VariableNames names) {
        fillNameList(list, variableNames(flags, names));
    };
    fill(*numeric_.left, VariableNames::NumericWithBuiltIns);
    fill(*numeric_.right, VariableNames::Numeric);
    fill(*string_.left, VariableNames::StringWithBuiltIns);
    fill(*string_.right, VariableNames::String);
}

void TfrmOptionSet::resetControls() {
    resetCondition(numeric_);
    resetCondition(string_);
    chkTime->setChecked(false);
    chkTimeHide->setChecked(false);
    cmbTime->setValue(0);
}

// The box shows TimeHide, with the gauge hidden, unless Time is set.
void TfrmOptionSet::showTime(int time, int timeHide) {
    chkTime->setChecked(time >= 1 || timeHide >= 1);
    chkTimeHide->setChecked(time < 1);
    cmbTime->setValue(time < 1 ? timeHide : time);
}

void TfrmOptionSet::updateControls() {
    updateCondition(numeric_, allowed_.conditions);
    updateCondition(string_, allowed_.conditions);
    chkTime->setEnabled(allowed_.timeLimit);
    const bool timeOn = allowed_.timeLimit && chkTime->isChecked();
    cmbTime->setEnabled(timeOn);
    chkTimeHide->setEnabled(timeOn);
}

// A group the caller does not allow keeps its fields exactly as they came.
void TfrmOptionSet::readControls() {
    TOptParam result = option_;
    if (allowed_.conditions) {
        result.If = conditionOf(numeric_);
        result.IfS = conditionOf(string_);
    }
    if (allowed_.timeLimit) {
        result.Time = 0;
        result.TimeHide = 0;
        if (chkTime->isChecked())
            (chkTimeHide->isChecked() ? result.TimeHide : result.Time) = cmbTime->value();
    }
    option_ = result;
}

} // namespace pagora
