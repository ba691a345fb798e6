// One frame of the preview's stage at 640 x 480: two pictures drawn with a
// transparent colour (one of them half transparent) into the main window,
// a message of 500 characters over them, and the frame composed; beside it
// the frame composed again with nothing changed, and a transition's frame.
#include "platform/encoding.h"
#include "preview/preview_stage.h"
#include "sample_message.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A pattern with a magenta key colour, as sprites are drawn.
pagora::TTC keyedPicture(int width, int height) {
    pagora::TTC picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y,
                             (x / 40 + y / 40) % 3 == 0
                                 ? 0xFF00FF
                                 : static_cast<std::uint32_t>(x * 0x0301 + y * 0x030000));
    return picture;
}

struct Scene {
    pagora::PreviewStage stage{looks()};
    pagora::TTC background = keyedPicture(kWidth, kHeight);
    pagora::TTC sprite = keyedPicture(320, 240);
    std::string fontName = pagora::toCp932("ＭＳ Ｐゴシック");
    pagora::StageText text;

    static std::array<pagora::PlayWindowLook, pagora::kPlayWindowCount> looks() {
        std::array<pagora::PlayWindowLook, pagora::kPlayWindowCount> looks;
        for (pagora::PlayWindowLook& look : looks)
            look.fontName = pagora::toCp932("ＭＳ Ｐゴシック");
        return looks;
    }

    Scene() {
        pagora::MessageText message;
        message.text = pagora::bench::sampleMessage(500);
        message.right = kWidth - 1;
        message.bottom = kHeight - 1;
        message.fontName = fontName;
        message.style = {16, true, false};
        message.color = 0xFFFFFF;
        text = {fontName, {0, 0, kWidth - 1, kHeight - 1}, stage.layout(message), true, 0xC0C0C0};
    }

    void drawPictures() {
        pagora::PictureLook keyed;
        keyed.useTransparent = true;
        keyed.transparentColor = 0xFF00FF;
        stage.drawPicture(0, background, {0, 0, kWidth - 1, kHeight - 1}, keyed);
        keyed.halfTransparent = true;
        stage.drawPicture(0, sprite, {160, 120, 479, 359}, keyed);
    }
};

void DrawPicturesTextAndFrame(benchmark::State& state) {
    Scene scene;
    pagora::TTC frame;
    for (auto _ : state) {
        scene.drawPictures();
        scene.stage.present(0, pagora::Transition::Cut, {}, 0);
        scene.stage.setText(0, scene.text);
        scene.stage.draw(frame);
        benchmark::DoNotOptimize(frame.Row(0));
    }
}
BENCHMARK(DrawPicturesTextAndFrame)->Unit(benchmark::kMicrosecond);

void ComposeUnchangedFrame(benchmark::State& state) {
    Scene scene;
    scene.drawPictures();
    scene.stage.present(0, pagora::Transition::Cut, {}, 0);
    scene.stage.setText(0, scene.text);
    pagora::TTC frame;
    scene.stage.draw(frame);
    for (auto _ : state) {
        scene.stage.draw(frame);
        benchmark::DoNotOptimize(frame.Row(0));
    }
}
BENCHMARK(ComposeUnchangedFrame)->Unit(benchmark::kMicrosecond);

void ComposeTransitionFrame(benchmark::State& state) {
    Scene scene;
    scene.drawPictures();
    scene.stage.present(0, pagora::Transition::Fade, {0, 0, kWidth, kHeight}, 1);
    scene.stage.setText(0, scene.text);
    pagora::TTC frame;
    double progress = 0;
    for (auto _ : state) {
        progress = progress >= 0.9 ? 0.1 : progress + 0.01;
        scene.stage.setTransitionProgress(progress);
        scene.stage.draw(frame);
        benchmark::DoNotOptimize(frame.Row(0));
    }
}
BENCHMARK(ComposeTransitionFrame)->Unit(benchmark::kMicrosecond);

} // namespace
