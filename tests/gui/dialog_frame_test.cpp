#include "dialog_fixture.h"
#include "gui/dialog_frame.h"
#include "gui/help_viewer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pagora::test {
namespace {

// A dialog of two tabs, its text box on the second, whose OK takes the text.
class TwoTabDialog : public DialogFrame {
public:
    TwoTabDialog(DialogServices& services, const FrameSpec& spec)
        : DialogFrame(services, spec, nullptr) {
        auto* tabs = new QTabWidget(this);
        tabs->setObjectName(QStringLiteral("PageControl"));
        tabs->addTab(new QWidget, QStringLiteral("一"));
        auto* second = new QWidget;
        text = new QLineEdit(second);
        text->setObjectName(QStringLiteral("edtText"));
        tabs->addTab(second, QStringLiteral("二"));
        setBody(tabs);
    }

    QLineEdit* text;
    std::string taken;
    bool toldAlready = false;

private:
    void readControls() override {
        if (toldAlready)
            throw FieldError(text);
        taken = fieldText(*text);
    }
};

class Frame : public DialogTest {
protected:
    TwoTabDialog dialog{services, {"TTwoTab", QStringLiteral("二つのタブ"), 42}};
    QTabWidget& tabs = child<QTabWidget>(dialog, "PageControl");
};

TEST_F(Frame, ShowsItsCaptionAndTheButtonsItAskedFor) {
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TTwoTab"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("二つのタブ"));
    QPushButton& ok = child<QPushButton>(dialog, "btnOK");
    EXPECT_TRUE(ok.isDefault());
    EXPECT_EQ(child<QPushButton>(dialog, "btnCancel").text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(child<QPushButton>(dialog, "btnHelp").text(), QStringLiteral("ヘルプ(&H)"));
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        EXPECT_FALSE(button->autoDefault()) << "Enter means OK wherever the focus is";

    TwoTabDialog bare(services, {"TBare", QStringLiteral("x"), 0, QString()});
    EXPECT_EQ(bare.findChildren<QPushButton*>().size(), 1) << "OK only";
}

TEST_F(Frame, OkTakesTheControlsAndCloses) {
    dialog.text->setText(QStringLiteral("晴れ"));
    modal = [](QDialog& opened) {
        static_cast<TwoTabDialog&>(opened).btnOKClick();
        return 0; // whatever the runner says, the dialog's own result counts
    };
    EXPECT_TRUE(dialog.runModal());
    EXPECT_EQ(dialog.taken, sj("晴れ"));

    modal = [](QDialog& opened) {
        opened.reject();
        return int(QDialog::Accepted);
    };
    EXPECT_FALSE(dialog.runModal());
}

TEST_F(Frame, ARefusedFieldKeepsTheDialogOpenAndShowsTheControl) {
    dialog.text->setText(QStringLiteral("☃"));
    tabs.setCurrentIndex(0);
    dialog.btnOKClick();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_TRUE(errorBoxes[0].contains(QStringLiteral("☃"))) << errorBoxes[0].toStdString();
    EXPECT_EQ(tabs.currentIndex(), 1) << "the tab that holds the control";
    EXPECT_EQ(dialog.focusWidget(), dialog.text);
}

TEST_F(Frame, ARefusalTheUserWasToldOfShowsNoSecondBox) {
    dialog.toldAlready = true;
    dialog.btnOKClick();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(errorBoxes.empty());
    EXPECT_EQ(tabs.currentIndex(), 1);
}

TEST_F(Frame, ADisabledOkDoesNothing) {
    child<QPushButton>(dialog, "btnOK").setEnabled(false);
    dialog.btnOKClick();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.taken.empty());
}

TEST_F(Frame, HelpOpensTheDialogsTopic) {
    child<QPushButton>(dialog, "btnHelp").click();
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0], helpTopicUrl(services.helpFolder, 42));
}

TEST_F(Frame, FilesNeedASavedComic) {
    EXPECT_EQ(dataFolderForFiles(context), std::nullopt);
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{
                  sj("この機能を使うためには\nファイルを一度セーブする必要があります")});
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Warning);
    prompter.clear();
    for (const auto& [header, folderName] :
         {std::pair<std::string, std::string>{"DataDirectory=", ""},
          {"DataDirectory=data", "data"}}) {
        openComic(sampleComicLines({header}));
        const std::filesystem::path expected =
            folderName.empty() ? folder.path() : folder.path() / folderName;
        EXPECT_EQ(dataFolderForFiles(context), expected) << header;
    }
    EXPECT_TRUE(prompter.records().empty());
}

} // namespace
} // namespace pagora::test
