#include "commands/variable_chooser.h"
#include "dialog_fixture.h"

#include <QListWidget>
#include <QPushButton>

namespace pagora::test {
namespace {

class VariableChooser : public DialogTest {
protected:
    VariableChooser() { openComic(comicWithVariables()); }

    TfrmFlagSelect chooser{context};
    QListWidget& names = child<QListWidget>(chooser, "lstFlagList");
    QPushButton& ok = child<QPushButton>(chooser, "btnOK");

    QStringList shown() const {
        QStringList texts;
        for (int i = 0; i < names.count(); ++i)
            texts << names.item(i)->text();
        return texts;
    }
    void click(int row) {
        names.setCurrentRow(row);
        chooser.lstFlagListClick();
    }
};

TEST_F(VariableChooser, ListsTheComicsVariablesBeforeTheBuiltInOnes) {
    EXPECT_EQ(child<QPushButton>(chooser, "btnCancel").text(), QStringLiteral("ｷｬﾝｾﾙ"));
    chooser.load(VariableType::Numeric);
    EXPECT_EQ(shown(), QStringList({"score", "回数", "@乱数", "@年月日", "@年", "@月", "@日",
                                    "@時分秒", "@時", "@分", "@秒", "@経過時間"}));
    chooser.load(VariableType::String);
    EXPECT_EQ(shown(), QStringList({"name", "天気", "@曜日"}));
}

TEST_F(VariableChooser, ConfirmsOnlyWithANameSelected) {
    chooser.load(VariableType::String);
    EXPECT_FALSE(ok.isEnabled());
    chooser.lstFlagListDblClick();
    chooser.btnOKClick();
    EXPECT_NE(chooser.result(), QDialog::Accepted) << "nothing to confirm";

    click(1);
    EXPECT_TRUE(ok.isEnabled());
    names.clearSelection();
    chooser.lstFlagListClick();
    EXPECT_FALSE(ok.isEnabled());

    click(1);
    chooser.lstFlagListDblClick();
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.chosenName(), sj("天気"));
}

TEST_F(VariableChooser, RunReturnsTheNameOnlyWhenConfirmed) {
    modal = [](QDialog& dialog) {
        child<QListWidget>(dialog, "lstFlagList").setCurrentRow(1);
        static_cast<TfrmFlagSelect&>(dialog).btnOKClick();
        return 0;
    };
    EXPECT_EQ(TfrmFlagSelect(context).run(VariableType::Numeric), sj("回数"));
    EXPECT_EQ(TfrmFlagSelect(context).run(VariableType::String), sj("天気"));

    modal = [](QDialog& dialog) {
        child<QListWidget>(dialog, "lstFlagList").setCurrentRow(0);
        dialog.reject();
        return 0;
    };
    EXPECT_EQ(TfrmFlagSelect(context).run(VariableType::Numeric), std::nullopt);
}

} // namespace
} // namespace pagora::test
