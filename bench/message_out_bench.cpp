// The layout editor's message preview: the layout of a 2,000-character
// message beside a plain scan of its bytes, and the drawing of a
// 500-character sample into a 640x480 preview beside a plain copy of its
// pixels, each baseline measured in the same run.
#include "gui/message_out.h"
#include "platform/encoding.h"
#include "sample_message.h"

#include <QByteArray>
#include <benchmark/benchmark.h>
#include <string>

namespace {

const std::string& fontName() {
    static const std::string name = pagora::toCp932("ＭＳ Ｐゴシック");
    return name;
}

// The whole text laid out: a frame tall enough to keep every line.
pagora::MessageText tallFrame(const std::string& text) {
    pagora::MessageText message;
    message.text = text;
    message.right = 639;
    message.bottom = 1000000;
    message.fontName = fontName();
    message.style.size = 16;
    return message;
}

void BaselineScanMessageBytes(benchmark::State& state) {
    const std::string& text = pagora::bench::sampleMessage(2000);
    for (auto _ : state) {
        std::size_t stops = 0;
        for (const char c : text)
            stops += c == '#' || c == '<' || c == '>' ? 1 : 0;
        benchmark::DoNotOptimize(stops);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BaselineScanMessageBytes)->Unit(benchmark::kMicrosecond);

// Fonts measured before: each character's advance comes from the cache.
void LayoutMessage(benchmark::State& state) {
    const pagora::MessageText message = tallFrame(pagora::bench::sampleMessage(2000));
    pagora::TMessageOut out;
    std::size_t pieces = out.layout(message).size();
    for (auto _ : state) {
        pieces = out.layout(message).size();
        benchmark::DoNotOptimize(pieces);
    }
    state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(LayoutMessage)->Unit(benchmark::kMicrosecond);

// A new renderer each time: the fonts are looked up and every character
// measured once, as for the first preview of a run.
void LayoutMessageFirstTime(benchmark::State& state) {
    const pagora::MessageText message = tallFrame(pagora::bench::sampleMessage(2000));
    for (auto _ : state) {
        pagora::TMessageOut out;
        benchmark::DoNotOptimize(out.layout(message).size());
    }
}
BENCHMARK(LayoutMessageFirstTime)->Unit(benchmark::kMicrosecond);

pagora::TTC preview() {
    pagora::TTC picture(640, 480);
    picture.Fill(0xFFFFFF);
    return picture;
}

void BaselineCopyPreviewPixels(benchmark::State& state) {
    const pagora::TTC from = preview();
    pagora::TTC to = preview();
    for (auto _ : state) {
        from.Draw(to, 0, 0);
        benchmark::DoNotOptimize(to.Row(0));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BaselineCopyPreviewPixels)->Unit(benchmark::kMicrosecond);

void DrawMessageWithShadow(benchmark::State& state) {
    pagora::MessageText message;
    message.text = pagora::bench::sampleMessage(500);
    message.right = 639;
    message.bottom = 479;
    message.fontName = fontName();
    message.style.size = 16;
    pagora::TTC picture = preview();
    pagora::TMessageOut out;
    for (auto _ : state) {
        out.draw(picture, message, true, 0xC0C0C0);
        benchmark::DoNotOptimize(picture.Row(0));
        benchmark::ClobberMemory();
    }
    state.counters["pieces"] = static_cast<double>(out.layout(message).size());
}
BENCHMARK(DrawMessageWithShadow)->Unit(benchmark::kMicrosecond);

} // namespace
