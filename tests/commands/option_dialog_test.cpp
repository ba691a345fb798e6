#include "commands/option_dialog.h"
#include "dialog_fixture.h"
#include "test_command_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <tuple>

namespace pagora::test {
namespace {

class OptionDialog : public DialogTest {
protected:
    OptionDialog() { openComic(comicWithVariables()); }

    QComboBox& list(const char* name) { return child<QComboBox>(dialog, name); }
    QCheckBox& check(const char* name) { return child<QCheckBox>(dialog, name); }
    QRadioButton& radio(const char* name) { return child<QRadioButton>(dialog, name); }
    QLineEdit& textBox() { return child<QLineEdit>(dialog, "edtIfSValue"); }

    static TIfParam condition(std::string_view left, std::string_view right, int op) {
        return {sj(left), sj(right), op};
    }
    static TOptParam options(const TIfParam& numeric, const TIfParam& text, int time = 0,
                             int timeHide = 0) {
        TOptParam option;
        std::tie(option.If, option.IfS, option.Time, option.TimeHide) =
            std::tie(numeric, text, time, timeHide);
        return option;
    }
    static constexpr OptionGroups kAll{true, true};

    TfrmOptionSet dialog{context};
};

TEST_F(OptionDialog, OpensWithTheVariableListsAndTheDefaults) {
    dialog.load({}, kAll);
    EXPECT_EQ(itemsOf(list("cmbIfLeft")),
              QStringList({"@乱数", "@年月日", "@年", "@月", "@日", "@時分秒", "@時", "@分", "@秒",
                           "@経過時間", "score", "回数"}));
    EXPECT_EQ(itemsOf(list("cmbIfRight")), QStringList({"score", "回数"}));
    EXPECT_EQ(itemsOf(list("cmbIfSLeft")), QStringList({"@曜日", "name", "天気"}));
    EXPECT_EQ(itemsOf(list("cmbIfSRight")), QStringList({"name", "天気"}));
    EXPECT_EQ(itemsOf(list("cmbIfOperator")), QStringList({"＝", "≠", ">=", "<=", "＞", "＜"}));
    EXPECT_EQ(itemsOf(list("cmbIfSOperator")), QStringList({"＝", "≠", "⊆"}));

    for (const char* name : {"chkIf", "chkIfS", "chkTime"})
        EXPECT_FALSE(check(name).isChecked()) << name;
    EXPECT_EQ(list("cmbIfLeft").currentIndex(), -1);
    EXPECT_TRUE(radio("rbIfNumber").isChecked());
    EXPECT_EQ(list("cmbIfValue").currentText(), QStringLiteral("0"));
    EXPECT_FALSE(list("cmbIfLeft").isEnabled()) << "the group is switched off";
    dialog.btnOKClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.option(), TOptParam{});
}

TEST_F(OptionDialog, NumericConditionComparesWithAVariableOrANumber) {
    TOptParam option = options(condition("%score%", "%回数%", 3), {});
    option.PosLeft = 1;
    option.Color = 0x123456;
    option.Win = 2;
    dialog.load(option, {});
    EXPECT_TRUE(check("chkIf").isChecked());
    EXPECT_EQ(list("cmbIfLeft").currentText(), QStringLiteral("score"));
    EXPECT_EQ(list("cmbIfOperator").currentText(), QStringLiteral("<="));
    EXPECT_TRUE(radio("rbIfVariable").isChecked());
    EXPECT_EQ(list("cmbIfRight").currentText(), QStringLiteral("回数"));
    EXPECT_TRUE(list("cmbIfRight").isEnabled());
    EXPECT_FALSE(list("cmbIfValue").isEnabled());
    dialog.btnOKClick();
    EXPECT_EQ(dialog.option(), option) << "unchanged, the other fields included";

    radio("rbIfNumber").setChecked(true);
    list("cmbIfValue").setEditText(QStringLiteral("012"));
    list("cmbIfOperator").setCurrentIndex(5);
    dialog.btnOKClick();
    option.If = condition("%score%", "12", 5);
    EXPECT_EQ(dialog.option(), option);
}

TEST_F(OptionDialog, StringOperatorsAreStoredAsZeroOneAndSix) {
    dialog.load(options({}, condition("%name%", "花", 6)), {});
    EXPECT_EQ(list("cmbIfSOperator").currentText(), QStringLiteral("⊆"));
    EXPECT_EQ(textBox().text(), QStringLiteral("花"));
    dialog.btnOKClick();
    EXPECT_EQ(dialog.option().IfS, condition("%name%", "花", 6));

    list("cmbIfSOperator").setCurrentIndex(1);
    radio("rbIfSVariable").setChecked(true);
    list("cmbIfSRight").setCurrentText(QStringLiteral("天気"));
    dialog.btnOKClick();
    EXPECT_EQ(dialog.option().IfS, condition("%name%", "%天気%", 1));
}

TEST_F(OptionDialog, VariablesTheComicNoLongerDeclaresSurviveTheDialog) {
    const TOptParam option = options(condition("%消えた%", "%gone%", 0), condition("%old%", "", 1));
    dialog.load(option, {});
    EXPECT_EQ(list("cmbIfLeft").currentText(), QStringLiteral("消えた"));
    EXPECT_EQ(itemsOf(list("cmbIfRight")), QStringList({"score", "回数", "gone"}));
    EXPECT_EQ(list("cmbIfRight").currentIndex(), 2);
    dialog.btnOKClick();
    EXPECT_EQ(dialog.option(), option);
}

TEST_F(OptionDialog, IncompleteOrSwitchedOffConditionsAreDropped) {
    const auto confirm = [this](const std::function<void()>& edit) {
        dialog.load(options(condition("%score%", "%回数%", 0), {}), {});
        edit();
        dialog.btnOKClick();
        return dialog.option().If;
    };
    EXPECT_EQ(confirm([&] { list("cmbIfOperator").setCurrentIndex(-1); }), TIfParam{});
    EXPECT_EQ(confirm([&] { list("cmbIfRight").setCurrentIndex(-1); }), TIfParam{})
        << "never a right side of \"%%\"";
    EXPECT_EQ(confirm([&] { list("cmbIfLeft").setCurrentIndex(-1); }), TIfParam{});
    EXPECT_EQ(confirm([&] { check("chkIf").setChecked(false); }), TIfParam{});
    EXPECT_EQ(confirm([&] {
                  list("cmbIfRight").setCurrentIndex(-1);
                  radio("rbIfNumber").setChecked(true);
              }),
              condition("%score%", "0", 0))
        << "comparing with a number needs no right-hand variable";
}

TEST_F(OptionDialog, TheGaugeSwitchDecidesBetweenTimeAndTimeHide) {
    dialog.load(options({}, {}, 0, 5), kAll);
    EXPECT_TRUE(check("chkTime").isChecked());
    EXPECT_TRUE(check("chkTimeHide").isChecked());
    EXPECT_EQ(list("cmbTime").currentText(), QStringLiteral("5"));
    check("chkTimeHide").setChecked(false);
    dialog.btnOKClick();
    EXPECT_EQ(dialog.option(), options({}, {}, 5, 0));

    dialog.load(options({}, {}, 4, 6), kAll);
    EXPECT_FALSE(check("chkTimeHide").isChecked());
    EXPECT_EQ(list("cmbTime").currentText(), QStringLiteral("4"));
    dialog.btnOKClick();
    EXPECT_EQ(dialog.option(), options({}, {}, 4, 0)) << "at most one time is left";
}

TEST_F(OptionDialog, AGroupNotAllowedIsShownButWrittenBackAsItCame) {
    TOptParam option = options({}, {}, 4, 6);
    option.If = condition("%score%", "7", 1);
    dialog.load(option, {false, false});
    EXPECT_TRUE(check("chkTime").isChecked());
    EXPECT_FALSE(check("chkTime").isEnabled());
    EXPECT_FALSE(list("cmbTime").isEnabled());
    EXPECT_EQ(list("cmbTime").currentText(), QStringLiteral("4"));
    EXPECT_TRUE(check("chkIf").isChecked());
    EXPECT_FALSE(check("chkIf").isEnabled());
    EXPECT_FALSE(list("cmbIfValue").isEnabled());
    dialog.btnOKClick();
    EXPECT_EQ(dialog.option(), option);
}

TEST_F(OptionDialog, TextThatCp932CannotHoldKeepsTheDialogOpen) {
    const TOptParam option = options({}, condition("%name%", "a", 0));
    dialog.load(option, {});
    textBox().setText(QStringLiteral("雨☔"));
    dialog.btnOKClick();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(dialog.option(), option);

    textBox().setText(QStringLiteral("雨"));
    dialog.btnOKClick();
    EXPECT_EQ(dialog.option().IfS, condition("%name%", "雨", 0));
}

} // namespace
} // namespace pagora::test
