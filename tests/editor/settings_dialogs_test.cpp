// The comic's settings dialogs as the main window opens them: what they write
// is one step, and the comic counts as changed however they close.
#include "editor_fixture.h"
#include "platform/encoding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace pagora::test {
namespace {

using Drive = std::function<void(QDialog&)>;

// A dialog's entries in the menu and on the tool bar, a change made in it and
// the header entries (UTF-8) that the change writes, and a run that closes it
// without writing anything.
struct SettingsDialog {
    std::string name;
    QAction* MainActions::*action;
    const char* button;
    const char* window;
    Drive change;
    std::vector<HeaderEntry> written;
    Drive closeUnchanged;
};

void PrintTo(const SettingsDialog& c, std::ostream* out) {
    *out << c.name;
}

Drive clicking(const char* button) {
    return [button](QDialog& dialog) {
        child<QPushButton>(dialog, button).click();
    };
}

Drive then(Drive first, Drive second) {
    return [first, second](QDialog& dialog) {
        first(dialog);
        second(dialog);
    };
}

// A numeric variable declared with its value.
Drive declaring(QString name, QString value) {
    return [name, value](QDialog& dialog) {
        child<QLineEdit>(dialog, "edtValueFlag").setText(name);
        child<QComboBox>(dialog, "cmbValueFlagInit").setEditText(value);
        child<QPushButton>(dialog, "btnValueFlagAdd").click();
    };
}

// A header with entries that no dialog knows, beside ones that they show.
std::vector<std::string> comicWithOtherKeys() {
    return sampleComicLines({"Title=丘の家", "Extra=1", "<Head End>", "<Head=\"Menu\">", "Extra=7",
                             "Help=0", "<Head End>", "<Head=\"ValueFlag\">", "score=10"});
}

using Entries = std::vector<std::pair<std::string, std::string>>;

// The entries of the block that are not among those written.
Entries entriesNotWritten(const TComicFileCtrl& comic, const std::string& block,
                          const std::vector<HeaderEntry>& written) {
    Entries entries;
    for (auto& entry : comic.GetHeaderEntries(block))
        if (std::ranges::none_of(written, [&](const HeaderEntry& w) {
                return w.block == block && toCp932(w.key) == entry.first;
            }))
            entries.push_back(std::move(entry));
    return entries;
}

// Those entries' keys with the values the block holds now.
Entries valuesNow(const TComicFileCtrl& comic, const std::string& block, Entries entries) {
    for (auto& [key, value] : entries)
        value = comic.ReadHeader(block, key, "(gone)");
    return entries;
}

class SettingsDialogs : public EditorTest, public testing::WithParamInterface<SettingsDialog> {};

TEST_P(SettingsDialogs, WriteOneStepAndLeaveTheComicChangedHoweverTheyClose) {
    const SettingsDialog& c = GetParam();
    const auto window = showWindow(writeComic("story.csf", comicWithOtherKeys()));
    QAction& action = *(window->actions().*c.action);
    ASSERT_TRUE(action.isEnabled());
    ASSERT_TRUE(child<QToolButton>(*window, c.button).isEnabled());
    TComicFileCtrl& comic = window->objects().comic;
    const std::vector<std::string> before = comic.Lines();
    const std::vector<std::string> blocks = {"Comic", "Menu", "ValueFlag"};
    std::vector<Entries> untouched;
    for (const std::string& block : blocks)
        untouched.push_back(entriesNotWritten(comic, block, c.written));

    modal = [&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), QString::fromLatin1(c.window));
        EXPECT_EQ(dialog.parentWidget(), window.get());
        c.change(dialog);
        return 0;
    };
    action.trigger();
    for (const HeaderEntry& entry : c.written)
        EXPECT_EQ(toUtf8(comic.ReadHeader(entry.block, sj(entry.key), "-")), entry.value)
            << entry.block << "/" << entry.key;
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("(変更)")));
    EXPECT_EQ(comic.History().undoCount(), 1u);
    for (std::size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(valuesNow(comic, blocks[i], untouched[i]), untouched[i])
            << "the other keys of " << blocks[i] << " stay as they were";

    window->actions().menuUndo->trigger();
    EXPECT_EQ(comic.Lines(), before) << "one step undoes the whole change";
    EXPECT_FALSE(window->isModified());

    modal = [&](QDialog& dialog) {
        c.closeUnchanged(dialog);
        return 0;
    };
    child<QToolButton>(*window, c.button).click();
    EXPECT_EQ(comic.Lines(), before) << "nothing written";
    EXPECT_TRUE(window->isModified());
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("(変更)")));
    EXPECT_FALSE(window->actions().menuUndo->isEnabled()) << "nothing to undo";
}

INSTANTIATE_TEST_SUITE_P(
    Comic, SettingsDialogs,
    testing::Values(
        SettingsDialog{
            "System",
            &MainActions::menuSystemSetting,
            "spdbtnSystemSetting",
            "TfrmSystem",
            then(
                [](QDialog& dialog) {
                    child<QLineEdit>(dialog, "edtTitle").setText(QStringLiteral("新しい題"));
                    child<QCheckBox>(dialog, "chkSelectChange").setChecked(true);
                },
                clicking("btnOK")),
            {{"Comic", "Title", "新しい題"}, {"Comic", "SelectChange", "1"}},
            then(
                [](QDialog& dialog) {
                    child<QLineEdit>(dialog, "edtTitle").setText(QStringLiteral("捨てる題"));
                },
                clicking("btnCancel"))},
        SettingsDialog{"WindowPosition",
                       &MainActions::menuWindowSetting,
                       "spdbtnWindowSetting",
                       "TfrmWindowPositionSet",
                       then(
                           [](QDialog& dialog) {
                               child<QCheckBox>(dialog, "chkSelTitleBar").setChecked(false);
                           },
                           clicking("btnOK")),
                       {{"SelectWindow", "TitleBar", "0"}, {"UserWindow3", "ImageWidth", "100"}},
                       then(
                           [](QDialog& dialog) {
                               child<QCheckBox>(dialog, "chkSelTitleBar").setChecked(false);
                           },
                           clicking("btnCansel"))},
        SettingsDialog{
            "VariableTable",
            &MainActions::menuFlagSetting,
            "spdbtnFlagSetting",
            "TfrmFlagSet",
            then(declaring(QStringLiteral("点数"), QStringLiteral("5")), clicking("btnOK")),
            {{"ValueFlag", "点数", "5"}},
            [](QDialog& dialog) {
                dialog.reject();
            }},
        SettingsDialog{
            "PlayerMenu",
            &MainActions::menuMenuSetting,
            "spdbtnMenuSetting",
            "TfrmMenuSet",
            then([](QDialog& dialog) { child<QComboBox>(dialog, "cmbExit").setCurrentIndex(0); },
                 clicking("btnOK")),
            {{"Menu", "Exit", "0"}, {"Menu", "Help", "0"}, {"Menu", "Document", "Auto"}},
            then([](QDialog& dialog) { child<QComboBox>(dialog, "cmbExit").setCurrentIndex(0); },
                 clicking("btnCancel"))}),
    [](const testing::TestParamInfo<SettingsDialog>& test) { return test.param.name; });

class VariableTable : public EditorTest {};

TEST_F(VariableTable, IsReadAnewWhenItsDialogClosesAndWhenItsStepIsUndone) {
    const auto window = makeWindow(writeComic("story.csf", comicWithVariables()));
    modal = [](QDialog& dialog) {
        then(declaring(QStringLiteral("点数"), QStringLiteral("5")), clicking("btnOK"))(dialog);
        return 0;
    };
    window->actions().menuFlagSetting->trigger();
    std::vector<std::string> names;
    for (const std::string& name : window->objects().flags.GetValueFlagNames())
        names.push_back(toUtf8(name));
    EXPECT_EQ(names, (std::vector<std::string>{"score", "回数", "点数"}))
        << "every dialog sees the new name";
    EXPECT_EQ(window->objects().comic.History().undoLabel(), sj("変数の設定"));

    window->actions().menuUndo->trigger();
    EXPECT_EQ(window->objects().flags.ValueFlagCount(), 2) << "undone and read anew";
}

TEST_F(VariableTable, DialogsReachItOverThemselvesWithoutMarkingTheComic) {
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

    modal = [](QDialog& dialog) {
        then(declaring(QStringLiteral("x"), QStringLiteral("1")), clicking("btnOK"))(dialog);
        return 0;
    };
    window->context().editVariables(&caller);
    EXPECT_EQ(window->context().flags.ValueFlags.back().Name, "x");
    EXPECT_EQ(window->context().flags.ValueFlags.back().Value, 1);
    EXPECT_TRUE(window->isModified()) << "the change itself";
}

} // namespace
} // namespace pagora::test
