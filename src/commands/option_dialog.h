#pragma once

#include "document/cmd_records.h"
#include "gui/dialog_frame.h"

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace pagora {

struct DialogContext;
class NumberBox;

// Which groups of options a command's dialog lets the user change.
struct OptionGroups {
    bool conditions = true; // /IF: and /IFS:
    bool timeLimit = false; // /TIME: and /TIMEHIDE:
};

// The controls of one condition tab; the numeric and the string tab share
// this shape and differ in the box that holds the literal right side.
struct ConditionControls {
    QCheckBox* check = nullptr;
    QComboBox* left = nullptr;
    QComboBox* op = nullptr;
    QRadioButton* byLiteral = nullptr;
    QRadioButton* byVariable = nullptr;
    NumberBox* number = nullptr; // the numeric tab's literal
    QLineEdit* text = nullptr;   // the string tab's literal
    QComboBox* right = nullptr;
    std::vector<int> operatorCodes; // the stored operator of each list position
};

// "コマンドオプションの設定": the execution conditions and the time limit of
// one command, on three tabs of PageControl.
//
// Controls: chkIf, cmbIfLeft, cmbIfOperator, rbIfNumber, rbIfVariable,
// cmbIfValue, cmbIfRight (tab tabIf); chkIfS, cmbIfSLeft, cmbIfSOperator,
// rbIfSText, rbIfSVariable, edtIfSValue, cmbIfSRight (tab tabIfS); chkTime,
// cmbTime, chkTimeHide (tab tabTime); btnOK, btnCancel, btnHelp.
//
// The variable lists keep each name's CP932 bytes as item data, so a name
// goes back into the record exactly as it came.
class TfrmOptionSet : public DialogFrame {
    Q_OBJECT

public:
    TfrmOptionSet(DialogContext& context, QWidget* parent = nullptr);

    // The modal edit: the options as the user set them, nothing when cancelled.
    std::optional<TOptParam> run(const TOptParam& option, OptionGroups allowed);

    // The opening steps: fills the variable lists, enables the groups allowed and shows the record.
    void load(const TOptParam& option, OptionGroups allowed);
    // The record given to load; after OK with its conditions and time limit as the user set them.
    // Every other field (Pos*, Color, Size, Win) passes through unchanged.
    const TOptParam& option() const { return option_; }

private:
    void readControls() override;
    void fillVariableLists();
    void resetControls();
    void showTime(int time, int timeHide);
    void updateControls();

    DialogContext& context_;
    TOptParam option_;
    OptionGroups allowed_;

    QTabWidget* PageControl;
    ConditionControls numeric_;
    ConditionControls string_;
    QCheckBox* chkTime;
    NumberBox* cmbTime;
    QCheckBox* chkTimeHide;
};

} // namespace pagora
