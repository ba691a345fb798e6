// The layout editor's preview redrawn as a drag asks for it, each step: the
// window's background with its grid, the picture (colour key and half
// transparency) or the sample text, the frame's outline, and the image the
// window shows; beside a plain copy of the same pixels, measured in the same
// run.
#include "platform/encoding.h"
#include "settings/canvas_image.h"
#include "settings/layout_preview.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

constexpr pagora::LayoutSize kWindow{640, 480};

// A picture with a magenta key colour around a pattern, as sprites are drawn.
pagora::Picture keyedPicture() {
    pagora::Picture picture;
    picture.Width = kWindow.width;
    picture.Height = kWindow.height;
    picture.Colors = 16777216;
    picture.Pixels.resize(static_cast<std::size_t>(picture.Width * picture.Height));
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x)
            picture.Pixels[static_cast<std::size_t>(y * picture.Width + x)] =
                (x / 40 + y / 40) % 3 == 0 ? 0xFF00FF
                                           : static_cast<std::uint32_t>(x * 0x0301 + y * 0x030000);
    return picture;
}

pagora::LayoutPreview openPreview() {
    pagora::LayoutPreview preview;
    pagora::PlayWindowLook look;
    look.fontName = pagora::toCp932("ＭＳ Ｐゴシック");
    preview.openWindow(0, kWindow, look);
    return preview;
}

// A sample of 500 characters: Japanese text with tags and line ends.
const std::string& sampleText() {
    static const std::string text = [] {
        const std::string unit = pagora::toCp932(
            "今日は<B>とても<N>良い天気です。Pagora で<+4>漫画<-4>を作りましょう！#");
        std::string sample;
        int characters = 0;
        for (std::size_t at = 0; characters < 500; ++characters) {
            const std::size_t length =
                pagora::isCp932LeadByte(static_cast<unsigned char>(unit[at])) ? 2 : 1;
            sample.append(unit, at, length);
            at = (at + length) % unit.size();
        }
        return sample;
    }();
    return text;
}

void BaselineCopyWindowPixels(benchmark::State& state) {
    pagora::TTC from(kWindow.width, kWindow.height);
    from.Fill(0x808080);
    pagora::TTC to(kWindow.width, kWindow.height);
    for (auto _ : state) {
        from.Draw(to, 0, 0);
        benchmark::DoNotOptimize(to.Row(0));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BaselineCopyWindowPixels)->Unit(benchmark::kMicrosecond);

// The frame moved a pixel each step: the sprite keeps its part of the picture.
void RedrawPictureMovingTheFrame(benchmark::State& state) {
    pagora::LayoutPreview preview = openPreview();
    preview.setPicture(keyedPicture());
    pagora::PictureLook look;
    look.useTransparent = true;
    look.autoTransparent = true;
    look.halfTransparent = true;
    int step = 0;
    for (auto _ : state) {
        const int x = step++ % 2;
        preview.drawPicture({x, 0, x + kWindow.width - 1, kWindow.height - 1}, look);
        benchmark::DoNotOptimize(pagora::canvasImage(preview.screen()).constBits());
    }
}
BENCHMARK(RedrawPictureMovingTheFrame)->Unit(benchmark::kMicrosecond);

// The shown part dragged a pixel each step: the sprite is filled anew.
void RedrawPictureMovingTheShownPart(benchmark::State& state) {
    pagora::LayoutPreview preview = openPreview();
    preview.setPicture(keyedPicture());
    pagora::PictureLook look;
    look.useTransparent = true;
    look.autoTransparent = true;
    look.halfTransparent = true;
    int step = 0;
    for (auto _ : state) {
        look.view = {step % 2, 0};
        ++step;
        preview.drawPicture({0, 0, kWindow.width - 2, kWindow.height - 1}, look);
        benchmark::DoNotOptimize(pagora::canvasImage(preview.screen()).constBits());
    }
}
BENCHMARK(RedrawPictureMovingTheShownPart)->Unit(benchmark::kMicrosecond);

void RedrawSampleText(benchmark::State& state) {
    pagora::LayoutPreview preview = openPreview();
    pagora::SampleLook sample;
    sample.text = sampleText();
    sample.fontSize = 16;
    int step = 0;
    for (auto _ : state) {
        const int x = step++ % 2;
        preview.drawText({x, 0, x + kWindow.width - 2, kWindow.height - 1}, sample);
        benchmark::DoNotOptimize(pagora::canvasImage(preview.screen()).constBits());
    }
}
BENCHMARK(RedrawSampleText)->Unit(benchmark::kMicrosecond);

} // namespace
