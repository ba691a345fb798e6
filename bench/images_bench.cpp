// MAG decoding and the preview's sprite transfers. Each figure is reported
// beside a baseline measured in the same run: a plain memcpy of as many bytes
// (BMP output) or pixels (canvas transfers).
#include "images/canvas_transfer.h"
#include "images/mag_decoder.h"
#include "images/true_canvas.h"
#include "support/mag_encoder.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr int kPictureWidth = 1280;
constexpr int kPictureHeight = 800;

// A drawn 1280x800 picture encoded as MAG, as a paint program writes it.
std::span<const std::uint8_t> magFile(int colors) {
    static std::map<int, std::string> files;
    std::string& file = files[colors];
    if (file.empty())
        file = pagora::test::encodeMag(
                   pagora::test::drawnMagPicture(colors, kPictureWidth, kPictureHeight),
                   pagora::test::FlagPolicy::Greedy)
                   .bytes;
    return {reinterpret_cast<const std::uint8_t*>(file.data()), file.size()};
}

void BaselineMemcpyBmpBytes(benchmark::State& state) {
    const std::size_t size =
        pagora::TM2BC::MMAG_GetBmpSizeInMemory(magFile(static_cast<int>(state.range(0))));
    std::vector<std::uint8_t> from(size, 1), to(size);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), size);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(size));
}
BENCHMARK(BaselineMemcpyBmpBytes)->Arg(256)->Arg(16)->Unit(benchmark::kMicrosecond);

void MagToBmp(benchmark::State& state) {
    const std::span<const std::uint8_t> file = magFile(static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> bmp(pagora::TM2BC::MMAG_GetBmpSizeInMemory(file));
    for (auto _ : state) {
        if (pagora::TM2BC::MMAG_MagtoBmpInMemory(file, bmp) != 0)
            state.SkipWithError("conversion failed");
        benchmark::DoNotOptimize(bmp.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bmp.size()));
    state.counters["mag_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(MagToBmp)->Arg(256)->Arg(16)->Unit(benchmark::kMicrosecond);

// A 640x480 sprite with a key-coloured background around a pattern.
constexpr std::uint32_t kKey = 0xFF00FF;

pagora::TTC makeSprite() {
    pagora::TTC sprite(640, 480);
    for (int y = 0; y < sprite.Height(); ++y)
        for (int x = 0; x < sprite.Width(); ++x)
            sprite.SetPixel(x, y,
                            (x / 40 + y / 40) % 3 == 0
                                ? kKey
                                : static_cast<std::uint32_t>(x * 0x010203 + y * 0x030201) &
                                      0xFFFFFF);
    return sprite;
}

void BaselineMemcpyPixels(benchmark::State& state) {
    const std::size_t pixels = static_cast<std::size_t>(state.range(0)) * 480 / 640 *
                               static_cast<std::size_t>(state.range(0));
    std::vector<std::uint32_t> from(pixels, 7), to(pixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), pixels * 4);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(pixels));
}
BENCHMARK(BaselineMemcpyPixels)->Arg(640)->Arg(800)->Unit(benchmark::kMicrosecond);

void HalfBlend640x480(benchmark::State& state) {
    const pagora::TTC sprite = makeSprite();
    pagora::TTC screen(640, 480);
    screen.Fill(0x336699);
    for (auto _ : state) {
        pagora::TransferHalfBlend(sprite, screen, {640, 480, 0, 0, 0, 0, 0, 0});
        benchmark::DoNotOptimize(screen.Row(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 640 * 480);
}
BENCHMARK(HalfBlend640x480)->Unit(benchmark::kMicrosecond);

// The sprite stretched to 800x600 on an 800x600 screen.
void StretchedKeyCopy640x480To800x600(benchmark::State& state) {
    const pagora::TTC sprite = makeSprite();
    pagora::TTC screen(800, 600);
    for (auto _ : state) {
        pagora::TransferStretchKeyCopy(sprite, screen, {640, 480, 0, 0, 0, 0, 800, 600}, kKey);
        benchmark::DoNotOptimize(screen.Row(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 800 * 600);
}
BENCHMARK(StretchedKeyCopy640x480To800x600)->Unit(benchmark::kMicrosecond);

} // namespace
