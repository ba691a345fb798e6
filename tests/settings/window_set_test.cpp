#include "dialog_fixture.h"
#include "settings/window_set.h"
#include "support/bmp_writer.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

namespace pagora {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kRed = 0xFF0000; // pixels are 0x00RRGGBB
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kBlue = 0x0000FF;

class WindowSetTest : public test::DialogTest {
protected:
    // A saved comic with its data folder "data", a 320 x 240 main window and
    // the header blocks given.
    void openStory(const std::vector<std::string>& blocks = {},
                   const std::vector<std::string>& comicKeys = {"ImageWidth=320",
                                                                "ImageHeight=240"}) {
        std::vector<std::string> header{"DataDirectory=data"};
        header.insert(header.end(), comicKeys.begin(), comicKeys.end());
        std::vector<std::string> lines = test::sampleComicLines(header);
        const auto headEnd = std::ranges::find(lines, std::string("<Head End>"));
        lines.insert(headEnd + 1, blocks.begin(), blocks.end());
        openComic(lines);
    }
    void addPicture(const std::string& name, const Picture& picture) {
        folder.write(fs::path("data") / name, test::bmpFileBytes(picture));
    }
    void setFrame(int left, int top, int right, int bottom) {
        editor.PosLeft = left;
        editor.PosTop = top;
        editor.PosRight = right;
        editor.PosBottom = bottom;
    }
    void pictureMode(const std::string& fileName) {
        editor.Mode = TWindowLayoutEditor::kPictureMode;
        editor.FileName = fileName;
    }

    // Runs the editor; `actions` are the user's while it is shown, who then
    // ends it with "設定終了" (or closes it when `end` is false).
    bool run(const std::function<void()>& actions = {}, bool end = true) {
        shown = false;
        modal = [&](QDialog&) {
            shown = true;
            if (actions)
                actions();
            if (!end)
                return static_cast<int>(QDialog::Rejected);
            editor.menuEndClick();
            return editor.result();
        };
        return editor.Execute();
    }
    void drag(LayoutPoint from, LayoutPoint to) {
        editor.imgWindowMouseDown(Qt::LeftButton, from);
        editor.imgWindowMouseMove({(from.x + to.x) / 2, (from.y + to.y) / 2});
        editor.imgWindowMouseMove(to);
        editor.imgWindowMouseUp(Qt::LeftButton, to);
    }
    // The preview's pixel as the user sees it (0x00RRGGBB).
    std::uint32_t shownAt(int x, int y) const { return editor.view().image().pixel(x, y) & kWhite; }
    int countShown(std::uint32_t color) const {
        const QImage& image = editor.view().image();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += (image.pixel(x, y) & kWhite) == color ? 1 : 0;
        return count;
    }
    LayoutFrame fieldsFrame() const {
        return {editor.PosLeft, editor.PosTop, editor.PosRight, editor.PosBottom};
    }

    TfrmWindowSet editor{LayoutEditorSources{services, comic, file, user}};
    bool shown = false;
};

TEST_F(WindowSetTest, PictureModeShowsThePictureAtItsSizeInTheWindow) {
    openStory();
    addPicture("pict/Sky.bmp", test::filledPicture(64, 48, kRed));
    pictureMode("PICT\\SKY.BMP");
    setFrame(20, 30, 0, 0);
    EXPECT_TRUE(run([&] {
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("画像の位置設定 - [PICT\\SKY.BMP]"));
        EXPECT_EQ(editor.windowSize(), (LayoutSize{320, 240}));
        EXPECT_EQ(editor.view().image().size(), QSize(320, 240));
        EXPECT_EQ(shownAt(21, 31), kRed);
        EXPECT_EQ(shownAt(82, 76), kRed);
        EXPECT_EQ(shownAt(85, 75), kWhite);
        EXPECT_EQ(shownAt(85, 70), LayoutPreview::kGridColor);
        EXPECT_EQ(&editor.contextMenu(), editor.findChild<QMenu*>("popmenuImage"));
    }));
    EXPECT_EQ(fieldsFrame(), (LayoutFrame{20, 30, 83, 77}));
    EXPECT_TRUE(prompter.records().empty());
}

struct RefusedCase {
    const char* fileName;
    const char* contents; // nothing: no file
    int size;             // with no contents, a white BMP of size x size when above 0
    const char* message;
};

class WindowSetRefused : public WindowSetTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(WindowSetRefused, TellsWhyAndLeavesTheFieldsAsTheyWere) {
    const RefusedCase& c = GetParam();
    openStory();
    if (c.contents != nullptr)
        folder.write(fs::path("data") / c.fileName, c.contents);
    if (c.size > 0)
        folder.write(fs::path("data") / c.fileName, test::monochromeBmpBytes(c.size, c.size));
    pictureMode(c.fileName);
    setFrame(5, 6, 0, 0);
    editor.Step = 7;
    EXPECT_FALSE(run());
    EXPECT_FALSE(shown);
    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].kind, MessageKind::Error);
    EXPECT_EQ(prompter.records()[0].text, sj(c.message));
    EXPECT_EQ(fieldsFrame(), (LayoutFrame{5, 6, 0, 0}));
    EXPECT_EQ(editor.Step, 7);
    EXPECT_EQ(editor.FileName, c.fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, WindowSetRefused,
    testing::Values(RefusedCase{"none.bmp", nullptr, 0, "画像ファイルが見つかりません"},
                    RefusedCase{"../story.csf", nullptr, 0, "画像ファイルが見つかりません"},
                    RefusedCase{"bad.bmp", "BM not really", 0,
                                "この画像ファイルは読み込めません\nbad.bmp"},
                    RefusedCase{"huge.bmp", nullptr, 9000,
                                "画像が大きすぎます（8192×8192ドットまで）\nhuge.bmp"}));

TEST_F(WindowSetTest, AnUntitledComicHasNoPictures) {
    folder.write("a.bmp", test::bmpFileBytes(test::filledPicture(4, 4, kRed)));
    pictureMode("a.bmp");
    EXPECT_FALSE(run());
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{sj("画像ファイルが見つかりません")});
}

TEST_F(WindowSetTest, WithStepTenTheRightEdgeDraggedTo237StopsAt230) {
    openStory();
    editor.Mode = TWindowLayoutEditor::kTextMode;
    editor.WindowNo = 0;
    editor.Step = 10;
    setFrame(10, 10, 100, 100);
    EXPECT_TRUE(run([&] {
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("テキストの位置設定"));
        drag({101, 50}, {237, 53});
    }));
    EXPECT_EQ(fieldsFrame(), (LayoutFrame{10, 10, 230, 100}));
}

TEST_F(WindowSetTest, AFrameDraggedPastTheRightBorderEndsThereWithItsWidth) {
    openStory();
    editor.Mode = TWindowLayoutEditor::kTextMode;
    editor.WindowNo = 2; // the select window: 400 x 110 by default
    editor.Step = 1;
    setFrame(300, 10, 349, 60);
    EXPECT_TRUE(run([&] {
        EXPECT_EQ(editor.windowSize(), (LayoutSize{400, 110}));
        editor.imgWindowMouseDown(Qt::LeftButton, {320, 30});
        editor.imgWindowMouseMove({420, 30});
        // while the button is held the frame is kept inside too
        EXPECT_EQ(editor.frame(), (LayoutFrame{350, 10, 399, 60}));
        editor.imgWindowMouseUp(Qt::LeftButton, {500, 30});
    }));
    EXPECT_EQ(fieldsFrame(), (LayoutFrame{350, 10, 399, 60}));
}

TEST_F(WindowSetTest, TheShownPartOfALargerPictureStaysInsideIt) {
    openStory();
    Picture gradient = test::filledPicture(300, 200, 0);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            gradient.Pixels[static_cast<std::size_t>(y * 300 + x)] =
                static_cast<std::uint32_t>(x * 1000 + y);
    addPicture("big.bmp", gradient);
    pictureMode("big.bmp");
    setFrame(0, 0, 99, 99);
    EXPECT_TRUE(run([&] {
        editor.menuPositionImageClick();
        drag({50, 50}, {-400, -400});
        EXPECT_EQ(shownAt(10, 10), 210u * 1000 + 110);
    }));
    EXPECT_EQ(editor.ViewLeft, 200);
    EXPECT_EQ(editor.ViewTop, 100);
    EXPECT_EQ(fieldsFrame(), (LayoutFrame{0, 0, 99, 99}));
}

TEST_F(WindowSetTest, APictureOfThreeStatesShowsItsTopThird) {
    openStory();
    Picture states = test::filledPicture(20, 30, kBlue);
    std::fill_n(states.Pixels.begin(), 20 * 10, kRed);
    addPicture("button.bmp", states);
    pictureMode("button.bmp");
    editor.ImageDivision = 3;
    editor.AreaMode = true;
    setFrame(100, 100, 0, 0);
    EXPECT_TRUE(run([&] {
        EXPECT_EQ(shownAt(105, 105), kRed);
        EXPECT_EQ(shownAt(105, 115), kWhite);
        EXPECT_EQ(countShown(kBlue), 0);
        EXPECT_EQ(&editor.contextMenu(), editor.findChild<QMenu*>("popmenuArea"));
    }));
    EXPECT_EQ(fieldsFrame(), (LayoutFrame{100, 100, 119, 109}));
}

TEST_F(WindowSetTest, DrawsTheColourKeyAndHalfTransparencyAsThePlayerDoes) {
    openStory();
    Picture sprite = test::filledPicture(40, 40, kBlue);
    sprite.Pixels[static_cast<std::size_t>(39 * 40)] = kMagenta; // bottom-left: the key
    sprite.Pixels[static_cast<std::size_t>(5 * 40 + 5)] = kMagenta;
    addPicture("sprite.bmp", sprite);
    pictureMode("sprite.bmp");
    setFrame(100, 100, 139, 139);
    editor.UseTransparent = true;
    editor.AutoTransparentColor = true;
    editor.HalfTransparent = true;
    EXPECT_TRUE(run([&] {
        EXPECT_EQ(shownAt(105, 105), kWhite);
        // blue halved over white: 0x00007F + 0x7F7F7F
        EXPECT_EQ(shownAt(106, 105), 0x7F7FFEu);
        editor.menuHalfTransparentClick();
        EXPECT_EQ(shownAt(106, 105), kBlue);
        editor.menuUseTransparentClick();
        EXPECT_EQ(shownAt(105, 105), kMagenta);
        editor.menuFitToPosClick();
    }));
    EXPECT_FALSE(editor.HalfTransparent);
    EXPECT_FALSE(editor.UseTransparent);
    EXPECT_TRUE(editor.FitToPos);
}

TEST_F(WindowSetTest, AFramePastTheWindowsEdgeShowsTheRestOfThePicture) {
    openStory();
    Picture sprite = test::filledPicture(40, 40, kBlue);
    for (int y = 0; y < 40; ++y)
        sprite.Pixels[static_cast<std::size_t>(y * 40 + 12)] = kRed;
    sprite.Pixels[static_cast<std::size_t>(39 * 40)] = kMagenta; // the key, off the screen
    sprite.Pixels[static_cast<std::size_t>(20 * 40 + 15)] = kMagenta;
    addPicture("sprite.bmp", sprite);
    pictureMode("sprite.bmp");
    setFrame(-10, -5, 29, 34);
    editor.UseTransparent = true;
    editor.AutoTransparentColor = true;
    EXPECT_TRUE(run(
        [&] {
            EXPECT_EQ(shownAt(2, 3), kRed);
            EXPECT_EQ(shownAt(1, 3), kBlue);
            EXPECT_EQ(shownAt(5, 15), kWhite);
        },
        false));
}

struct ExtremeCase {
    int side;
    LayoutFrame opened;
};

class WindowSetExtremes : public WindowSetTest, public testing::WithParamInterface<ExtremeCase> {};

TEST_P(WindowSetExtremes, ShowsTinyAndHugePictures) {
    openStory();
    folder.write("data/edge.bmp", test::monochromeBmpBytes(GetParam().side, GetParam().side));
    pictureMode("edge.bmp");
    setFrame(100, 100, 0, 0);
    EXPECT_TRUE(run([&] {
        // a one-dot picture lies under the outline of its two-dot frame
        if (GetParam().side > 1) {
            EXPECT_EQ(shownAt(101, 101), 0x000000u);
        }
        drag({110, 120}, {30, 40});
        editor.menuFitToPosClick();
    }));
    EXPECT_EQ(fieldsFrame(), GetParam().opened);
}

INSTANTIATE_TEST_SUITE_P(Sides, WindowSetExtremes,
                         testing::Values(ExtremeCase{1, {100, 100, 101, 101}},
                                         // moved, then kept inside: it begins at 0
                                         ExtremeCase{8000, {0, 0, 7999, 7999}}));

TEST_F(WindowSetTest, PicksTheTransparentColourFromThePicture) {
    openStory();
    Picture sprite = test::filledPicture(40, 40, kBlue);
    sprite.Pixels[static_cast<std::size_t>(5 * 40 + 6)] = 0x123456;
    addPicture("sprite.bmp", sprite);
    pictureMode("sprite.bmp");
    setFrame(100, 100, 139, 139);
    editor.AutoTransparentColor = true;
    editor.TransparentColor = 0;
    EXPECT_TRUE(run([&] {
        editor.menuPickTransparentClick();
        EXPECT_EQ(editor.Mode, TWindowLayoutEditor::kColorPickMode);
        EXPECT_FALSE(editor.AutoTransparentColor);
        editor.imgWindowMouseDown(Qt::LeftButton, {50, 50});
        EXPECT_EQ(editor.Mode, TWindowLayoutEditor::kColorPickMode);
        editor.imgWindowMouseDown(Qt::LeftButton, {106, 105});
        EXPECT_EQ(editor.Mode, TWindowLayoutEditor::kPictureMode);
        // the click picked and did not start a drag
        editor.imgWindowMouseMove({150, 150});
        editor.imgWindowMouseUp(Qt::LeftButton, {150, 150});
    }));
    EXPECT_EQ(editor.TransparentColor, 0x563412u); // 0x00BBGGRR
    EXPECT_EQ(fieldsFrame(), (LayoutFrame{100, 100, 139, 139}));
}

TEST_F(WindowSetTest, TheMenusSetTheFieldsAndShowThemChecked) {
    openStory();
    editor.Mode = TWindowLayoutEditor::kTextMode;
    editor.Step = 3;
    prompter.queueColor(0x0000FF);
    EXPECT_TRUE(run([&] {
        QMenu& text = editor.contextMenu();
        EXPECT_EQ(text.objectName(), QStringLiteral("popmenuText"));
        auto* step5 = editor.findChild<QAction*>("menuStep5");
        auto* step1 = editor.findChild<QAction*>("menuStep1");
        EXPECT_TRUE(step1->isChecked());
        step5->trigger();
        EXPECT_EQ(editor.Step, 5);
        // the same step items are in the picture and the area menu too
        for (const char* menu : {"popmenuImage", "popmenuText", "popmenuArea"})
            EXPECT_TRUE(editor.findChild<QMenu*>(menu)
                            ->findChild<QMenu*>("menuStep")
                            ->actions()
                            .contains(step5))
                << menu;
        EXPECT_TRUE(step5->isChecked());
        EXPECT_FALSE(step1->isChecked());
        editor.findChild<QAction*>("menuFontSize24")->trigger();
        EXPECT_EQ(editor.FontSize, 24);
        EXPECT_EQ(editor.findChild<QAction*>("menuFontSize24")->text(),
                  QStringLiteral("２４ポイント"));
        editor.findChild<QAction*>("menuFontColor")->trigger();
        editor.findChild<QAction*>("menuHelp")->trigger();
    }));
    EXPECT_EQ(editor.FontColor, 0x0000FFu);
    EXPECT_EQ(editor.Step, 5);
    ASSERT_EQ(help.urls.size(), 1u);
    EXPECT_EQ(help.urls[0].fragment(), QStringLiteral("topic56"));
}

TEST_F(WindowSetTest, UsingTheTransparentColourSwitchesTheAutomaticColourOn) {
    openStory();
    addPicture("a.bmp", test::filledPicture(10, 10, kRed));
    pictureMode("a.bmp");
    EXPECT_TRUE(run([&] {
        editor.findChild<QAction*>("menuUseTransparent")->trigger();
        EXPECT_TRUE(editor.AutoTransparentColor);
        EXPECT_TRUE(editor.findChild<QAction*>("menuAutoTransparent")->isChecked());
        editor.findChild<QAction*>("menuUseTransparent")->trigger();
        EXPECT_TRUE(editor.AutoTransparentColor);
        editor.contextMenu();
        EXPECT_FALSE(editor.findChild<QAction*>("menuUseTransparent")->isChecked());
        EXPECT_TRUE(editor.findChild<QAction*>("menuPositionScreen")->isChecked());
    }));
    EXPECT_FALSE(editor.UseTransparent);
}

TEST_F(WindowSetTest, ClosingWithoutEndingGivesTheFieldsBack) {
    openStory();
    addPicture("a.bmp", test::filledPicture(50, 50, kRed));
    pictureMode("a.bmp");
    setFrame(10, 10, 59, 59);
    EXPECT_TRUE(run(
        [&] {
            drag({30, 30}, {80, 80});
            editor.menuHalfTransparentClick();
            editor.menuPickTransparentClick();
        },
        false));
    EXPECT_EQ(fieldsFrame(), (LayoutFrame{10, 10, 59, 59}));
    EXPECT_FALSE(editor.HalfTransparent);
    EXPECT_EQ(editor.Mode, TWindowLayoutEditor::kPictureMode);
}

TEST_F(WindowSetTest, AConfirmedPictureStaysAsTheWindowsBackground) {
    openStory();
    addPicture("a.bmp", test::filledPicture(64, 48, kRed));
    pictureMode("a.bmp");
    setFrame(0, 0, 63, 47);
    EXPECT_TRUE(run());
    editor.Mode = TWindowLayoutEditor::kTextMode;
    EXPECT_TRUE(run([&] { EXPECT_EQ(shownAt(21, 21), kWhite); }));

    pictureMode("a.bmp");
    EXPECT_TRUE(run());
    editor.ImageConfirmed();
    editor.Mode = TWindowLayoutEditor::kTextMode;
    editor.SampleText.clear();
    EXPECT_TRUE(run([&] {
        EXPECT_EQ(shownAt(21, 21), kRed);
        EXPECT_EQ(shownAt(20, 21), LayoutPreview::kGridColor);
    }));
    // another window keeps its own background
    editor.WindowNo = 1;
    EXPECT_TRUE(run([&] { EXPECT_EQ(shownAt(21, 21), kWhite); }));
}

struct SizeCase {
    const char* width;
    int shown;
};

class WindowSetSizes : public WindowSetTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(WindowSetSizes, ShowsTheHeadersWindowWithinTheLimits) {
    openStory({}, {std::string("ImageWidth=") + GetParam().width, "ImageHeight=abc"});
    editor.Mode = TWindowLayoutEditor::kTextMode;
    editor.SampleText = sj("見本");
    setFrame(0, 0, 0, 0);
    EXPECT_TRUE(run([&] {
        EXPECT_EQ(editor.windowSize(), (LayoutSize{GetParam().shown, 480}));
        drag({2, 2}, {40, 30});
    }));
    EXPECT_EQ(editor.PosBottom, 479);
    EXPECT_LE(editor.PosRight, GetParam().shown - 1);
}

INSTANTIATE_TEST_SUITE_P(Widths, WindowSetSizes,
                         testing::Values(SizeCase{"abc", 640}, SizeCase{"0", kMinPreviewSide},
                                         SizeCase{"-30", kMinPreviewSide},
                                         SizeCase{"100000", kMaxPreviewSide},
                                         SizeCase{"333", 333}));

TEST_F(WindowSetTest, DrawsTheSampleWithTheWindowsShadow) {
    openStory({"<Head=\"MessageWindow\">", "FontTypeShadow=1", "FontTypeShadowColor=clRed",
               "<Head End>", "<Head=\"SelectWindow\">", "FontTypeShadow=1",
               "FontTypeShadowColor=no colour", "<Head End>"});
    editor.Mode = TWindowLayoutEditor::kTextMode;
    editor.SampleText = sj("■■#■");
    editor.FontSize = 24;
    editor.FontColor = 0;
    setFrame(10, 10, 200, 100);
    editor.WindowNo = 1;
    EXPECT_TRUE(run([&] {
        EXPECT_GT(countShown(0x000000), 200);
        EXPECT_GT(countShown(kRed), 20);
    }));
    editor.WindowNo = 2;
    EXPECT_TRUE(run([&] { EXPECT_GT(countShown(0xC0C0C0), 20); }));
}

TEST_F(WindowSetTest, AHugeOrUnclosedSampleIsDrawnWithoutHanging) {
    openStory();
    editor.Mode = TWindowLayoutEditor::kTextMode;
    editor.WindowNo = 0;
    setFrame(0, 0, 319, 239);
    for (const std::string& sample :
         {std::string(100000, 'A'), sj("<B>太字<clRed 閉じない"), std::string("<")}) {
        editor.SampleText = sample;
        EXPECT_TRUE(run([&] {
            EXPECT_GT(countShown(0x000000), 0);
            drag({100, 100}, {10, 10});
        }));
    }
}

TEST_F(WindowSetTest, ReadsPicturesThroughThePlugInsWhenTheUserSaysSo) {
    openStory();
    const fs::path plugIns = folder.path() / "plugins";
    fs::create_directories(plugIns);
    fs::copy_file(fs::path(PAGORA_TEST_PLUGIN_DIR) / "pgx_reader.spi", plugIns / "pgx_reader.spi");
    std::string pgx = "PGX1";
    pgx += std::string{'\x04', '\0', '\x04', '\0'};
    for (int i = 0; i < 16; ++i)
        pgx += std::string{'\x12', '\x34', '\x56'};
    folder.write("data/a.pgx", pgx);
    pictureMode("a.pgx");
    setFrame(0, 0, 0, 0);
    EXPECT_FALSE(run());
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{sj("この画像ファイルは読み込めません\na.pgx")});

    user.usePlugIns = true;
    user.plugInDir = plugIns.string() + "/";
    EXPECT_TRUE(run([&] { EXPECT_EQ(shownAt(1, 1), 0x123456u); }));
    EXPECT_EQ(fieldsFrame(), (LayoutFrame{0, 0, 3, 3}));
}

} // namespace
} // namespace pagora
