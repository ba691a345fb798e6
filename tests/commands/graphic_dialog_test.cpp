#include "commands/graphic_dialog.h"
#include "commands/picture_choice.h"
#include "commands/picture_preview.h"
#include "dialog_fixture.h"
#include "support/bmp_writer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <filesystem>

namespace pagora::test {
namespace {

namespace fs = std::filesystem;

std::array<int, 4> area(const TOptParam& option) {
    return {option.PosLeft, option.PosRight, option.PosTop, option.PosBottom};
}

class GraphicDialog : public DialogTest {
protected:
    // A saved comic with these extra "Comic" header lines and a data folder.
    void openWithData(std::vector<std::string> header = {}) {
        header.push_back("DataDirectory=pict");
        openComic(sampleComicLines(header));
        fs::create_directories(folder.path() / "pict");
    }
    fs::path picture(const std::string& relative, int width, int height) {
        return folder.write(relative, bmpFileBytes(filledPicture(width, height, 0x336699)));
    }

    template <typename T> T& control(const char* name) { return child<T>(dialog, name); }
    QCheckBox& check(const char* name) { return control<QCheckBox>(name); }
    QRadioButton& radio(const char* name) { return control<QRadioButton>(name); }
    QLineEdit& fileName() { return control<QLineEdit>("edtFileName"); }

    // Chooses path with the file button.
    void choose(const fs::path& path) {
        prompter.queuePath(path);
        control<QPushButton>("btnFileNameSet").click();
    }
    TCmdGraphic written() {
        dialog.btnOKClick();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        return syntax.ParseGraphic(dialog.line());
    }

    TfrmGraphic dialog{context};
};

TEST_F(GraphicDialog, OpensTheLinesFieldsAndWritesThemBackWithTheLayoutFields) {
    openWithData();
    const std::string line = sj(R"(Graphic "背景.bmp",5,6,1,0,"WaveSect",1,1,0,)"
                                R"("/IF:%a%==1","/POS:10,20,110,220","/COLOR:clLime","/WIN:3")");
    dialog.loadLine(line);
    EXPECT_EQ(fileName().text(), QStringLiteral("背景.bmp"));
    EXPECT_EQ(control<QComboBox>("cmbEffect").currentText(), QStringLiteral("【部分】ウェーブ"));
    EXPECT_EQ(control<QComboBox>("cmbSelectWindow").currentIndex(), 3);
    EXPECT_TRUE(check("chkSprite").isChecked());
    EXPECT_TRUE(radio("rbManualColor").isChecked());
    EXPECT_TRUE(check("chkHalfColor").isChecked());
    EXPECT_FALSE(check("chkView").isChecked());
    EXPECT_EQ(control<QLineEdit>("edtSpriteColor").text(), QStringLiteral("clLime"));
    dialog.btnOKClick();
    EXPECT_EQ(dialog.line(), line) << "ViewLeft, ViewTop and FitToPos kept from opening to OK";
    EXPECT_EQ(layoutEditor.imagesConfirmed, 1);
}

TEST_F(GraphicDialog, TheEffectListHoldsTheNineteenEffectsInOrder) {
    dialog.loadLine("");
    const auto& effects = control<QComboBox>("cmbEffect");
    ASSERT_EQ(effects.count(), 19);
    EXPECT_EQ(effects.itemText(0), QStringLiteral("使用しない"));
    EXPECT_EQ(effects.itemText(10), QStringLiteral("ボックス"));
    EXPECT_EQ(effects.itemText(18), QStringLiteral("【部分】ズームダウン"));
    EXPECT_EQ(effects.currentIndex(), 0);
    EXPECT_TRUE(check("chkView").isChecked()) << "a new picture shows at once";
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnOk")),
              &control<QPushButton>("btnOk"));
}

TEST_F(GraphicDialog, TheTransparentColourControlsFollowTheCheckBoxAndTheRadioButtons) {
    dialog.loadLine(R"(Graphic "a.bmp",0,0,0,1,"None",0,0,0,)");
    for (const char* name : {"rbAutoColor", "rbManualColor"})
        EXPECT_FALSE(radio(name).isEnabled()) << name;
    EXPECT_FALSE(control<QPushButton>("btnColorSet").isEnabled());
    EXPECT_TRUE(radio("rbManualColor").isChecked()) << "as the line has it";

    check("chkSprite").setChecked(true);
    EXPECT_TRUE(radio("rbAutoColor").isChecked()) << "switching it on chooses the automatic colour";
    EXPECT_TRUE(radio("rbManualColor").isEnabled());
    EXPECT_FALSE(control<QPushButton>("btnColorSet").isEnabled());
    radio("rbManualColor").setChecked(true);
    EXPECT_TRUE(control<QPushButton>("btnColorSet").isEnabled());

    prompter.queueColor(0x00FF00);
    control<QPushButton>("btnColorSet").click();
    EXPECT_EQ(control<QLineEdit>("edtSpriteColor").text(), QStringLiteral("clLime"));
    const TCmdGraphic record = written();
    EXPECT_TRUE(record.UseTransparent);
    EXPECT_FALSE(record.AutoTransparentColor);
    EXPECT_EQ(record.Option.Color, 0x00FF00u);
}

struct Measured {
    const char* header; // an extra "Comic" header line, or ""
    int left;
    int top;
    int width;
    int height;
    std::array<int, 4> area; // left, right, top, bottom
};

class PictureAreas : public GraphicDialog, public ::testing::WithParamInterface<Measured> {};

TEST_P(PictureAreas, FollowThePicturesSizeWithinTheScreen) {
    const Measured& c = GetParam();
    openWithData(*c.header != '\0' ? std::vector<std::string>{c.header}
                                   : std::vector<std::string>{});
    dialog.loadLine(QStringLiteral(R"(Graphic "",7,8,0,1,"None",0,0,0,"/POS:%1,%2,%3,%4")")
                        .arg(c.left)
                        .arg(c.top)
                        .arg(c.left + 1)
                        .arg(c.top + 1)
                        .toStdString());
    choose(picture("elsewhere/絵.bmp", c.width, c.height));
    EXPECT_EQ(fileName().text(), QStringLiteral("絵.bmp"));
    EXPECT_TRUE(fs::exists(folder.path() / "pict" / "絵.bmp")) << "copied into the data folder";
    const TCmdGraphic record = written();
    EXPECT_EQ(area(record.Option), c.area);
    EXPECT_EQ(record.ViewLeft, 0);
    EXPECT_EQ(record.ViewTop, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureAreas,
    ::testing::Values(Measured{"", 0, 0, 320, 240, {0, 319, 0, 239}},
                      Measured{"", 0, 0, 800, 600, {0, 640, 0, 480}},
                      Measured{"", 100, 50, 100, 50, {100, 199, 50, 99}},
                      Measured{"ImageWidth=400", 0, 0, 500, 100, {0, 400, 0, 99}},
                      Measured{"ImageWidth=wide", 0, 0, 700, 100, {0, 640, 0, 99}}));

TEST_F(GraphicDialog, AFileOfThatNameInTheDataFolderIsUsedAndMeasured) {
    openWithData();
    picture("pict/同.bmp", 40, 30);
    dialog.loadLine("");
    choose(picture("elsewhere/同.bmp", 320, 240));
    EXPECT_TRUE(prompter.messages().empty()) << "silently";
    EXPECT_TRUE(errorBoxes.empty());
    EXPECT_EQ(area(written().Option), (std::array{0, 39, 0, 29}));
}

TEST_F(GraphicDialog, APictureNoReaderTakesIsToldAndLeavesTheArea) {
    openWithData();
    user.usePlugIns = true;
    user.plugInDir = (folder.path() / "no such folder/").string();
    dialog.loadLine(R"(Graphic "",0,0,0,1,"None",0,0,0,"/POS:0,0,99,99")");
    choose(folder.write("elsewhere/photo.png", "\x89PNG\r\n\x1a\nnot a bitmap nor a mag"));
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{sj("この画像形式には対応していません")});
    EXPECT_EQ(fileName().text(), QStringLiteral("photo.png")) << "the name stays";
    EXPECT_TRUE(fs::exists(folder.path() / "pict" / "photo.png")) << "and the file is copied";
    EXPECT_EQ(area(written().Option), (std::array{0, 99, 0, 99}));
}

TEST_F(GraphicDialog, ADataFolderThatIsNotThereIsToldAndNothingChanges) {
    openComic(sampleComicLines({"DataDirectory=missing"}));
    dialog.loadLine(R"(Graphic "old.bmp",0,0,0,1,"None",0,0,0,"/POS:0,0,9,9")");
    choose(picture("elsewhere/new.bmp", 320, 240));
    ASSERT_EQ(errorBoxes.size(), 1u) << "the copy failed and says why";
    EXPECT_EQ(fileName().text(), QStringLiteral("old.bmp"));
    EXPECT_EQ(area(written().Option), (std::array{0, 9, 0, 9}));
}

TEST_F(GraphicDialog, TheFileAndPositionButtonsRefuseAnUntitledComic) {
    dialog.loadLine("");
    control<QPushButton>("btnFileNameSet").click();
    control<QPushButton>("btnPosition").click();
    const std::string refusal =
        sj("この機能を使うためには\nファイルを一度セーブする必要があります");
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{refusal, refusal}));
    EXPECT_TRUE(layoutEditor.executed.empty());
}

TEST_F(GraphicDialog, ThePositionButtonHandsOverTheLookAndTakesItBack) {
    openWithData();
    dialog.loadLine(R"(Graphic "a.bmp",3,4,0,1,"None",0,0,0,"/POS:1,2,30,40","/WIN:4")");
    layoutEditor.Mode = TWindowLayoutEditor::kTextMode;
    layoutEditor.AreaMode = true;
    layoutEditor.ImageDivision = 3;
    layoutEditor.user = [](TWindowLayoutEditor& editor) {
        editor.PosLeft = 11;
        editor.PosRight = 111;
        editor.PosTop = 12;
        editor.PosBottom = 112;
        editor.ViewLeft = 20;
        editor.ViewTop = 21;
        editor.FitToPos = true;
        editor.UseTransparent = true;
        editor.AutoTransparentColor = false;
        editor.TransparentColor = 0x0000FF;
        editor.HalfTransparent = true;
        return true;
    };
    control<QPushButton>("btnPosition").click();
    ASSERT_EQ(layoutEditor.executed.size(), 1u);
    const TWindowLayoutEditor& given = layoutEditor.executed[0];
    EXPECT_EQ(given.Mode, TWindowLayoutEditor::kPictureMode);
    EXPECT_FALSE(given.AreaMode);
    EXPECT_EQ(given.ImageDivision, 0);
    EXPECT_EQ(given.WindowNo, 4);
    EXPECT_EQ(given.FileName, "a.bmp");
    EXPECT_EQ((std::array{given.ViewLeft, given.ViewTop}), (std::array{3, 4}));
    EXPECT_EQ((std::array{given.PosLeft, given.PosRight, given.PosTop, given.PosBottom}),
              (std::array{1, 30, 2, 40}));
    EXPECT_FALSE(given.UseTransparent);
    EXPECT_FALSE(given.FitToPos);

    EXPECT_TRUE(check("chkSprite").isChecked());
    EXPECT_TRUE(radio("rbManualColor").isChecked());
    EXPECT_TRUE(control<QPushButton>("btnColorSet").isEnabled());
    EXPECT_TRUE(check("chkHalfColor").isChecked());
    EXPECT_EQ(control<QLineEdit>("edtSpriteColor").text(), QStringLiteral("clRed"));
    const TCmdGraphic record = written();
    EXPECT_EQ(area(record.Option), (std::array{11, 111, 12, 112}));
    EXPECT_EQ((std::array{record.ViewLeft, record.ViewTop}), (std::array{20, 21}));
    EXPECT_TRUE(record.FitToPos);
    EXPECT_EQ(record.Option.Color, 0x0000FFu);
}

TEST_F(GraphicDialog, CancelAndARefusedNameConfirmNoPicture) {
    openWithData();
    dialog.loadLine("");
    fileName().setText(QStringLiteral("☃.bmp"));
    dialog.btnOKClick();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(dialog.focusWidget(), &fileName());
    modal = [](QDialog& opened) {
        opened.reject();
        return 0;
    };
    EXPECT_EQ(dialog.run(""), std::nullopt);
    EXPECT_EQ(layoutEditor.imagesConfirmed, 0);
}

TEST_F(GraphicDialog, TheThumbnailFollowsTheFileAndItsLook) {
    openWithData();
    Picture drawn = filledPicture(4, 2, 0xFF0000);
    drawn.Pixels[4] = 0x0000FF; // bottom-left
    folder.write("pict/b.bmp", bmpFileBytes(drawn));
    dialog.loadLine(R"(Graphic "b.bmp",0,0,0,1,"None",0,0,0,)");
    const auto& preview = child<PicturePreview>(dialog, "imgPreview");
    ASSERT_FALSE(preview.thumbnail().isNull());
    EXPECT_EQ(preview.thumbnail().size(), QSize(4, 2));
    EXPECT_EQ(preview.thumbnail().pixel(0, 1), 0xFF0000FFu);

    check("chkSprite").setChecked(true);
    dialog.refreshPreview();
    EXPECT_EQ(preview.thumbnail().pixel(0, 1), 0xFFFFFFFFu) << "the bottom-left colour is clear";
    fileName().setText(QStringLiteral("missing.bmp"));
    dialog.refreshPreview();
    EXPECT_TRUE(preview.thumbnail().isNull());
    EXPECT_TRUE(prompter.messages().empty()) << "the preview tells nothing";
}

TEST(PictureThumbnail, ShowsTransparencyOverACheckerboardAndShrinksToFit) {
    Picture picture = filledPicture(2, 1, 0xFF0000);
    picture.Pixels[1] = 0x00FF00;
    ThumbnailLook look;
    look.useTransparent = true;
    look.transparentColor = 0x0000FF; // red, as the comic writes colours
    QImage thumbnail = pictureThumbnail(picture, look, QSize(10, 10));
    EXPECT_EQ(thumbnail.pixel(0, 0), 0xFFFFFFFFu) << "the red pixel is see-through";
    EXPECT_EQ(thumbnail.pixel(1, 0), 0xFF00FF00u);

    look.useTransparent = false;
    look.halfTransparent = true;
    thumbnail = pictureThumbnail(picture, look, QSize(10, 10));
    const QColor half = QColor::fromRgb(thumbnail.pixel(0, 0));
    EXPECT_NEAR(half.red(), 255, 2);
    EXPECT_NEAR(half.green(), 127, 2) << "half of the white behind";

    EXPECT_EQ(pictureThumbnail(filledPicture(800, 600, 0), {}, QSize(200, 150)).size(),
              QSize(200, 150));
    EXPECT_EQ(pictureThumbnail(filledPicture(1000, 10, 0), {}, QSize(200, 150)).size(),
              QSize(200, 2));
    EXPECT_TRUE(pictureThumbnail(Picture{}, {}, QSize(200, 150)).isNull());
}

TEST(MeasuringReaders, TryTheBitmapReaderOnlyForBitmapsAndThePlugInsOnlyWhenOn) {
    using enum PictureReader;
    EXPECT_EQ(measuringReaders("a.BMP", false), (std::vector{Bmp, Mag}));
    EXPECT_EQ(measuringReaders("a.mag", true), (std::vector{Mag, PlugIns}));
    EXPECT_EQ(measuringReaders("a.bmp.png", false), (std::vector{Mag}));
}

} // namespace
} // namespace pagora::test
