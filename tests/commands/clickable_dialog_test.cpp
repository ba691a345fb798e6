#include "commands/clickable_dialog.h"
#include "dialog_fixture.h"
#include "support/bmp_writer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pagora::test {
namespace {

class ClickAbleDialog : public DialogTest {
protected:
    ClickAbleDialog() { openComic(sampleComicLines()); }

    template <typename T> T& control(const char* name) { return child<T>(dialog, name); }
    QPushButton& ok() { return control<QPushButton>("btnOK"); }
    std::string confirmed() {
        dialog.btnOKClick();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        return dialog.line();
    }
    // The area the dialog holds: left, top, right, bottom.
    std::vector<int> area() {
        const TOptParam& option = dialog.area();
        return {option.PosLeft, option.PosTop, option.PosRight, option.PosBottom};
    }
    // Chooses a picture file from outside the data folder.
    void choosePicture(const std::string& name, const std::string& bytes) {
        control<QCheckBox>("chkGraphicUse").setChecked(true);
        prompter.queuePath(folder.write("outside/" + name, bytes));
        control<QPushButton>("btnFileNameSet").click();
    }

    TfrmClickAble dialog{context};
};

TEST_F(ClickAbleDialog, ShowsEveryFieldAndWritesTheLineBackUnchanged) {
    const std::string line =
        sj(R"(ClickAble "第二章","居間","button.bmp",2,1,0,1,"/POS:12,14,108,46","/WIN:3")");
    dialog.loadLine(line);
    EXPECT_EQ(control<QComboBox>("cmbBook").currentText(), QStringLiteral("第二章"));
    EXPECT_EQ(control<QComboBox>("cmbPage").currentText(), QStringLiteral("居間"));
    EXPECT_TRUE(control<QCheckBox>("chkCall").isChecked());
    EXPECT_EQ(control<QComboBox>("cmbSelectWindow").currentIndex(), 3);
    EXPECT_TRUE(control<QCheckBox>("chkGraphicUse").isChecked());
    EXPECT_EQ(control<QLineEdit>("edtFileName").text(), QStringLiteral("button.bmp"));
    EXPECT_TRUE(control<QRadioButton>("rbGraphicOver").isChecked());
    EXPECT_TRUE(control<QCheckBox>("chkClickAbleClear").isChecked());
    EXPECT_FALSE(control<QCheckBox>("chkCursorChange").isChecked());
    EXPECT_EQ(confirmed(), line);
    EXPECT_EQ(layoutEditor.imagesConfirmed, 1) << "the layout editor keeps the picture";
}

struct Division {
    int stored;
    const char* button;
    int written;
};

class ClickAbleDivision : public ClickAbleDialog, public testing::WithParamInterface<Division> {};

TEST_P(ClickAbleDivision, SelectsTheRadioButtonByTheDivisionAndWritesOneToThree) {
    dialog.loadLine(sj(R"(ClickAble "第一章","次","a.bmp",)") + std::to_string(GetParam().stored) +
                    ",0,1,0,");
    EXPECT_TRUE(control<QRadioButton>(GetParam().button).isChecked());
    EXPECT_EQ(syntax.ParseClickAble(confirmed()).ImageDivision, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Divisions, ClickAbleDivision,
                         testing::Values(Division{3, "rbGraphicClick", 3},
                                         Division{2, "rbGraphicOver", 2},
                                         Division{1, "rbGraphicNormal", 1},
                                         Division{0, "rbGraphicNormal", 1},
                                         Division{7, "rbGraphicNormal", 1}));

TEST_F(ClickAbleDialog, ThePictureControlsFollowTheirCheckBoxAndOffLeavesNoPicture) {
    dialog.loadLine(sj(R"(ClickAble "第一章","次","a.bmp",3,0,1,0,)"));
    QCheckBox& use = control<QCheckBox>("chkGraphicUse");
    use.setChecked(false);
    for (const char* name :
         {"edtFileName", "btnFileNameSet", "rbGraphicNormal", "rbGraphicOver", "rbGraphicClick"})
        EXPECT_FALSE(control<QWidget>(name).isEnabled()) << name;
    EXPECT_EQ(confirmed(), sj(R"(ClickAble "第一章","次","",0,0,1,0,)"));
    EXPECT_EQ(layoutEditor.imagesConfirmed, 0);
    use.setChecked(true);
    EXPECT_TRUE(control<QLineEdit>("edtFileName").isEnabled());
}

TEST_F(ClickAbleDialog, OKWaitsForABookAndAPage) {
    dialog.loadLine(sj(R"(ClickAble "消えた章","居間","",0,0,1,0,)"));
    EXPECT_EQ(control<QComboBox>("cmbBook").currentIndex(), -1);
    EXPECT_FALSE(ok().isEnabled());
    control<QComboBox>("cmbBook").setCurrentIndex(1);
    EXPECT_FALSE(ok().isEnabled()) << "no page is chosen yet";
    dialog.btnOKClick();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    control<QComboBox>("cmbPage").setCurrentIndex(0);
    EXPECT_TRUE(ok().isEnabled());
    EXPECT_EQ(confirmed(), sj(R"(ClickAble "第二章","居間","",0,0,1,0,)"));
    dialog.loadLine("");
    EXPECT_FALSE(ok().isEnabled()) << "a new area starts without a page";
}

TEST_F(ClickAbleDialog, AChosenPictureSizesTheAreaWithoutTakingOneOff) {
    dialog.loadLine(sj(R"(ClickAble "第一章","次","",0,0,1,0,"/POS:10,20,30,40")"));
    choosePicture("button.bmp", bmpFileBytes(filledPicture(100, 40, 0xff0000)));
    EXPECT_EQ(control<QLineEdit>("edtFileName").text(), QStringLiteral("button.bmp"));
    EXPECT_EQ(area(), std::vector<int>({10, 20, 110, 60}));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "button.bmp")) << "copied beside the comic";
    EXPECT_EQ(prompter.records()[0].chooser.selectedFilter, 1) << "all files first";

    // A picture larger than the screen stops at its edges.
    choosePicture("wide.bmp", bmpFileBytes(filledPicture(700, 500, 0)));
    EXPECT_EQ(area(), std::vector<int>({10, 20, 640, 480}));
}

TEST_F(ClickAbleDialog, TheAreaStopsAtTheComicsOwnScreenSize) {
    openComic(sampleComicLines({"ImageWidth=320", "ImageHeight=200"}));
    dialog.loadLine(sj(R"(ClickAble "第一章","次","",0,0,1,0,"/POS:300,190,310,195")"));
    choosePicture("b.bmp", bmpFileBytes(filledPicture(100, 40, 0)));
    EXPECT_EQ(area(), std::vector<int>({300, 190, 320, 200}));
}

TEST_F(ClickAbleDialog, APictureNoReaderKnowsIsToldAndKeepsTheArea) {
    dialog.loadLine(sj(R"(ClickAble "第一章","次","",0,0,1,0,"/POS:10,20,30,40")"));
    choosePicture("note.bmp", "not a picture");
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{sj("この画像形式には対応していません")});
    EXPECT_EQ(control<QLineEdit>("edtFileName").text(), QStringLiteral("note.bmp"));
    EXPECT_EQ(area(), std::vector<int>({10, 20, 30, 40}));
}

TEST_F(ClickAbleDialog, AnUntitledComicRefusesPicturesButPlacesATextArea) {
    comic.CreateNew();
    file.fileName = std::string(kUntitledName);
    dialog.loadLine("");
    control<QCheckBox>("chkGraphicUse").setChecked(true);
    control<QPushButton>("btnFileNameSet").click();
    control<QPushButton>("btnPosition").click();
    EXPECT_EQ(prompter.messages().size(), 2u);
    EXPECT_TRUE(layoutEditor.executed.empty());

    control<QCheckBox>("chkGraphicUse").setChecked(false);
    layoutEditor.SampleText = "old";
    control<QPushButton>("btnPosition").click();
    ASSERT_EQ(layoutEditor.executed.size(), 1u);
    EXPECT_EQ(layoutEditor.executed[0].Mode, TWindowLayoutEditor::kTextMode);
    EXPECT_TRUE(layoutEditor.executed[0].AreaMode);
    EXPECT_EQ(layoutEditor.executed[0].SampleText, "");
}

TEST_F(ClickAbleDialog, ThePositionButtonPlacesThePictureAsAnAreaAndTakesTheAreaBack) {
    dialog.loadLine(sj(R"(ClickAble "第一章","次","b.bmp",3,0,1,0,"/POS:1,2,50,60","/WIN:4")"));
    layoutEditor.UseTransparent = layoutEditor.FitToPos = layoutEditor.HalfTransparent = true;
    layoutEditor.AutoTransparentColor = true;
    layoutEditor.user = [](TWindowLayoutEditor& editor) {
        editor.PosLeft = 5;
        editor.PosTop = 6;
        editor.PosRight = 70;
        editor.PosBottom = 80;
        return true;
    };
    control<QPushButton>("btnPosition").click();
    ASSERT_EQ(layoutEditor.executed.size(), 1u);
    const auto& given = layoutEditor.executed[0];
    EXPECT_EQ(given.Mode, TWindowLayoutEditor::kPictureMode);
    EXPECT_TRUE(given.AreaMode);
    EXPECT_EQ(given.FileName, "b.bmp");
    EXPECT_EQ(given.ImageDivision, 3);
    EXPECT_EQ(given.WindowNo, 4);
    EXPECT_FALSE(given.UseTransparent || given.AutoTransparentColor || given.FitToPos ||
                 given.HalfTransparent);
    EXPECT_EQ(std::vector<int>({given.PosLeft, given.PosTop, given.PosRight, given.PosBottom}),
              std::vector<int>({1, 2, 50, 60}));
    EXPECT_EQ(area(), std::vector<int>({5, 6, 70, 80}));

    layoutEditor.user = [](TWindowLayoutEditor& editor) {
        editor.PosLeft = 99;
        return false; // not shown: the area stays
    };
    control<QPushButton>("btnPosition").click();
    EXPECT_EQ(area(), std::vector<int>({5, 6, 70, 80}));
}

} // namespace
} // namespace pagora::test
