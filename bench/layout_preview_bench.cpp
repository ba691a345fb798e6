// The layout editor's preview redrawn as a drag asks for it, each step: the
// window's background with its grid, the picture (colour key and half
// transparency) or the sample text, the frame's outline, and the image the
// window shows; beside a plain copy of the same pixels, measured in the same
// run.
#include "gui/canvas_image.h"
#include "platform/encoding.h"
#include "sample_message.h"
#include "settings/layout_preview.h"

#include <benchmark/benchmark.h>

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

// Each step moves the frame a pixel (the sprite keeps its part of the
// picture) or the shown part (the sprite is filled anew).
void RedrawPicture(benchmark::State& state, bool movingTheShownPart) {
    pagora::LayoutPreview preview = openPreview();
    preview.setPicture(keyedPicture());
    pagora::PictureLook look;
    look.useTransparent = true;
    look.autoTransparent = true;
    look.halfTransparent = true;
    int step = 0;
    for (auto _ : state) {
        const int moved = step++ % 2;
        pagora::LayoutFrame frame{0, 0, kWindow.width - 2, kWindow.height - 1};
        if (movingTheShownPart)
            look.view = {moved, 0};
        else
            frame = {moved, 0, moved + kWindow.width - 2, kWindow.height - 1};
        preview.drawPicture(frame, look);
        benchmark::DoNotOptimize(pagora::canvasImage(preview.screen()).constBits());
    }
}
BENCHMARK_CAPTURE(RedrawPicture, MovingTheFrame, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RedrawPicture, MovingTheShownPart, true)->Unit(benchmark::kMicrosecond);

void RedrawSampleText(benchmark::State& state) {
    pagora::LayoutPreview preview = openPreview();
    pagora::SampleLook sample;
    sample.text = pagora::bench::sampleMessage(500);
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
