// Building a package: a generated comic with 200 MB of BMP pictures, each
// stored zlib-compressed as the package wizard marks them, and the check's
// 200,000-line comic naming 2,000 pictures of which 1,500 are missing. Each
// baseline, measured first in the same run, compresses the same pictures with
// zlib at the default level in memory; each build reports its time as a
// multiple of its baseline (vs_baseline).
#include "generated_comic.h"
#include "package/package_builder.h"
#include "platform/scripted_prompter.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kPictures = 85; // 85 x 2,359,350 bytes: just over 200 MB

void putLe(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>(value >> (8 * i));
}

// A 24-bit picture as drawn pictures are: gradients, bands and shapes, with a
// little noise that keeps zlib busy.
std::string drawnBmp(unsigned seed, int width = kWidth, int height = kHeight) {
    const auto rowBytes = static_cast<std::uint32_t>(width * 3);
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(height);
    std::string bmp = "BM";
    putLe(bmp, 54 + pixelBytes, 4);
    putLe(bmp, 0, 4);
    putLe(bmp, 54, 4);
    for (const std::uint32_t field :
         {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)})
        putLe(bmp, field, 4);
    putLe(bmp, 1, 2);
    putLe(bmp, 24, 2);
    for (const std::uint32_t field : {0u, pixelBytes, 2835u, 2835u, 0u, 0u})
        putLe(bmp, field, 4);
    std::uint32_t noise = seed * 2654435761u + 1;
    bmp.reserve(bmp.size() + pixelBytes);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int dx = x - 300 - static_cast<int>(seed % 400), dy = y - 380;
            const bool inCircle = dx * dx + dy * dy < 150 * 150;
            const bool band = ((x + y + static_cast<int>(seed) * 13) / 40) % 5 == 0;
            const auto jitter = static_cast<int>((noise >> 28) & 3);
            const int blue = inCircle ? 40 + jitter : x / 4 + jitter;
            const int green = band ? 200 : y / 3 + static_cast<int>(seed) * 7;
            const int red = inCircle ? 220 : 128 + (x ^ y) / 64 + jitter;
            for (const int channel : {blue, green, red})
                bmp += static_cast<char>(channel & 0xFF);
        }
    }
    return bmp;
}

// The pictures and a comic that shows each of them, written once per run.
struct GeneratedComic {
    pagora::test::TempFolder folder;
    fs::path comicFile;
    std::vector<std::string> pictures;
    std::int64_t totalBytes = 0;

    GeneratedComic() {
        std::string script = "<Head=\"Comic\">\r\nFileType=PGR95\r\nDataDirectory=pict\r\n"
                             "<Head End>\r\n<Book=\"Book\">\r\n<Page=\"Page\">\r\n";
        for (int i = 0; i < kPictures; ++i) {
            const std::string name = "p" + std::to_string(i) + ".bmp";
            pictures.push_back(drawnBmp(static_cast<unsigned>(i)));
            folder.write(fs::path("comic/pict") / name, pictures.back());
            totalBytes += static_cast<std::int64_t>(pictures.back().size());
            script += "Graphic \"" + name + "\",0,0,0,1,\"None\",0,0,0,\r\n";
        }
        script += "<Page End>\r\n<Book End>\r\n";
        comicFile = folder.write("comic/c.csf", script);
    }
};

GeneratedComic& generated() {
    static GeneratedComic comic;
    return comic;
}

// The check's comic: 20,000 Graphic lines naming 2,000 pictures, the first
// 1,500 missing from a data folder of 2,000 files; the 500 present ones are
// drawn pictures of 256 x 192.
constexpr int kMissingPictures = 1500;

struct ReferencingComic {
    pagora::test::TempFolder folder;
    fs::path comicFile;
    std::vector<std::string> pictures;
    std::int64_t totalBytes = 0;

    ReferencingComic() {
        for (int i = kMissingPictures; i < pagora::bench::kReferencedPictures; ++i) {
            pictures.push_back(drawnBmp(static_cast<unsigned>(i), 256, 192));
            totalBytes += static_cast<std::int64_t>(pictures.back().size());
        }
        comicFile = pagora::bench::writeReferencingComic(
            folder.path(), pagora::bench::kReferencedPictures, kMissingPictures,
            [this](int picture) {
                return pictures[static_cast<std::size_t>(picture - kMissingPictures)];
            });
    }
};

ReferencingComic& referencing() {
    static ReferencingComic comic;
    return comic;
}

// Seconds per pass of each baseline, for the builds' ratios.
double baselineSeconds = 0;
double referencingBaselineSeconds = 0;

// Compresses every picture with zlib at the default level; returns seconds per pass.
double compressPictures(benchmark::State& state, const std::vector<std::string>& pictures,
                        std::int64_t totalBytes) {
    std::size_t largest = 0;
    for (const std::string& picture : pictures)
        largest = std::max(largest, picture.size());
    std::vector<Bytef> out(compressBound(static_cast<uLong>(largest)));
    std::int64_t compressed = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        compressed = 0;
        for (const std::string& picture : pictures) {
            uLongf length = static_cast<uLongf>(out.size());
            if (compress2(out.data(), &length, reinterpret_cast<const Bytef*>(picture.data()),
                          static_cast<uLong>(picture.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
                state.SkipWithError("compression failed");
            compressed += static_cast<std::int64_t>(length);
        }
        benchmark::DoNotOptimize(out.data());
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.SetBytesProcessed(state.iterations() * totalBytes);
    state.counters["compressed_bytes"] = static_cast<double>(compressed);
    return seconds / static_cast<double>(state.iterations());
}

// Gathering and building, as the package wizard runs them.
void packAndReport(benchmark::State& state, const fs::path& comicFile,
                   const std::string& dataDirectory, const fs::path& archive,
                   std::size_t storedFiles, std::int64_t totalBytes, double baseline) {
    pagora::ScriptedPrompter prompter;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pagora::TPackageBuilder builder(prompter, comicFile, dataDirectory);
        builder.CollectFiles();
        if (!builder.BuildPackage(archive) || builder.LinkList.size() != storedFiles)
            state.SkipWithError("the package was not built");
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.SetBytesProcessed(state.iterations() * totalBytes);
    std::error_code error;
    state.counters["archive_bytes"] = static_cast<double>(fs::file_size(archive, error));
    if (baseline > 0)
        state.counters["vs_baseline"] =
            seconds / static_cast<double>(state.iterations()) / baseline;
}

void BaselineZlibDefaultLevel(benchmark::State& state) {
    GeneratedComic& comic = generated();
    baselineSeconds = compressPictures(state, comic.pictures, comic.totalBytes);
}

void PackComic(benchmark::State& state) {
    GeneratedComic& comic = generated();
    packAndReport(state, comic.comicFile, "pict", comic.folder.path() / "out.cpf", kPictures,
                  comic.totalBytes, baselineSeconds);
}

void BaselineZlibReferencedPictures(benchmark::State& state) {
    ReferencingComic& comic = referencing();
    referencingBaselineSeconds = compressPictures(state, comic.pictures, comic.totalBytes);
}

void PackReferencingComic(benchmark::State& state) {
    ReferencingComic& comic = referencing();
    packAndReport(state, comic.comicFile, "data", comic.folder.path() / "out.cpf",
                  comic.pictures.size(), comic.totalBytes, referencingBaselineSeconds);
}

BENCHMARK(BaselineZlibDefaultLevel)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PackComic)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BaselineZlibReferencedPictures)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PackReferencingComic)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
