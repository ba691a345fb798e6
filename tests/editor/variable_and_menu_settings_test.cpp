// The variable table and the player's menu as the main window opens them.
#include "editor_fixture.h"
#include "platform/encoding.h"
#include "settings/flag_set_dialog.h"
#include "settings/menu_set_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace pagora::test {
namespace {

class VariableAndMenuSettings : public EditorTest {
protected:
    // A modal run that declares the numeric variable name with value, then closes.
    static std::function<int(QDialog&)> declaring(QString name, QString value) {
        return [name, value](QDialog& dialog) {
            child<QLineEdit>(dialog, "edtValueFlag").setText(name);
            child<QComboBox>(dialog, "cmbValueFlagInit").setEditText(value);
            child<QPushButton>(dialog, "btnValueFlagAdd").click();
            child<QPushButton>(dialog, "btnOK").click();
            return 0;
        };
    }
    static std::vector<std::string> utf8(const std::vector<std::string>& names) {
        std::vector<std::string> texts;
        for (const std::string& name : names)
            texts.push_back(toUtf8(name));
        return texts;
    }
};

TEST_F(VariableAndMenuSettings, TheMenuAndItsButtonOpenTheVariableTableAndReloadIt) {
    const auto window = makeWindow(writeComic("story.csf", comicWithVariables()));
    EXPECT_TRUE(window->findChild<QToolButton*>(QStringLiteral("spdbtnFlagSetting"))->isEnabled());
    QWidget* parent = nullptr;
    const auto declare = declaring(QStringLiteral("点数"), QStringLiteral("5"));
    modal = [&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("TfrmFlagSet"));
        parent = dialog.parentWidget();
        return declare(dialog);
    };
    window->actions().menuFlagSetting->trigger();
    EXPECT_EQ(parent, window.get());
    EXPECT_EQ(utf8(window->objects().flags.GetValueFlagNames()),
              (std::vector<std::string>{"score", "回数", "点数"}))
        << "every dialog sees the new name";
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->objects().comic.History().undoLabel(), sj("変数の設定"));
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("(変更)")));

    window->actions().menuUndo->trigger();
    EXPECT_EQ(window->objects().flags.ValueFlagCount(), 2) << "undone and read anew";

    modal = [](QDialog& dialog) {
        dialog.reject();
        return 0;
    };
    window->actions().menuFlagSetting->trigger();
    EXPECT_TRUE(window->isModified()) << "the comic counts as changed however it closed";
}

TEST_F(VariableAndMenuSettings, DialogsReachTheTableOverThemselvesWithoutMarkingTheComic) {
    const auto window = makeWindow(writeComic("story.csf", comicWithVariables()));
    QDialog caller(window.get());
    QWidget* parent = nullptr;
    modal = [&parent](QDialog& dialog) {
        parent = dialog.parentWidget();
        dialog.reject();
        return 0;
    };
    window->context().editVariables(&caller);
    EXPECT_EQ(parent, &caller);
    EXPECT_FALSE(window->isModified()) << "nothing changed";

    modal = declaring(QStringLiteral("x"), QStringLiteral("1"));
    window->context().editVariables(&caller);
    EXPECT_EQ(window->context().flags.ValueFlags.back().Name, "x");
    EXPECT_EQ(window->context().flags.ValueFlags.back().Value, 1);
    EXPECT_TRUE(window->isModified()) << "the change itself";
}

TEST_F(VariableAndMenuSettings, TheMenuChoicesAreOneStepThatKeepsTheBlocksOtherKeys) {
    const auto window = makeWindow(writeComic(
        "story.csf", sampleComicLines({"<Head End>", "<Head=\"Menu\">", "Extra=7", "Help=0"})));
    EXPECT_TRUE(window->findChild<QToolButton*>(QStringLiteral("spdbtnMenuSetting"))->isEnabled());
    TComicFileCtrl& comic = window->objects().comic;
    modal = [](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("TfrmMenuSet"));
        EXPECT_EQ(child<QComboBox>(dialog, "cmbHelp").currentText(), QStringLiteral("非表示"));
        child<QComboBox>(dialog, "cmbExit").setCurrentIndex(0);
        child<QPushButton>(dialog, "btnCancel").click();
        return 0;
    };
    const std::string before = comic.SaveToBytes();
    window->actions().menuMenuSetting->trigger();
    EXPECT_EQ(comic.SaveToBytes(), before) << "nothing written on Cancel";
    EXPECT_TRUE(window->isModified());

    modal = [](QDialog& dialog) {
        child<QComboBox>(dialog, "cmbExit").setCurrentIndex(0);
        child<QPushButton>(dialog, "btnOK").click();
        return 0;
    };
    window->actions().menuMenuSetting->trigger();
    EXPECT_EQ(comic.GetHeaderEntries("Menu"),
              (std::vector<std::pair<std::string, std::string>>{{"Extra", "7"},
                                                                {"Help", "0"},
                                                                {"Save", "1"},
                                                                {"Load", "1"},
                                                                {"Config", "1"},
                                                                {"Document", "Auto"},
                                                                {"Setup", "1"},
                                                                {"Version", "1"},
                                                                {"Exit", "0"}}));
    EXPECT_EQ(comic.History().undoCount(), 1u);
    comic.History().undo();
    EXPECT_EQ(comic.SaveToBytes(), before);
}

} // namespace
} // namespace pagora::test
