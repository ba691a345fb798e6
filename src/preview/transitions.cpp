#include "preview/transitions.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

namespace pagora {
namespace {

constexpr int kPanelSize = 32;  // random panels, pixels a side
constexpr int kSlatHeight = 16; // blind slats
constexpr int kCoarsestBlock = 32;
constexpr double kLargestZoom = 2.0; // ZoomDown starts at this scale
constexpr double kWaves = 3.0;       // whole waves over the area's height

CanvasRect clipped(const CanvasRect& area, const TTC& canvas) {
    const int left = std::clamp(area.left, 0, canvas.Width());
    const int top = std::clamp(area.top, 0, canvas.Height());
    const int right = std::clamp(area.left + std::max(area.width, 0), left, canvas.Width());
    const int bottom = std::clamp(area.top + std::max(area.height, 0), top, canvas.Height());
    return {left, top, right - left, bottom - top};
}

std::uint32_t blend(std::uint32_t from, std::uint32_t to, std::uint32_t weight256) {
    const std::uint32_t keep = 256 - weight256;
    const std::uint32_t redBlue =
        ((from & 0xFF00FFu) * keep + (to & 0xFF00FFu) * weight256) >> 8 & 0xFF00FFu;
    const std::uint32_t green =
        ((from & 0x00FF00u) * keep + (to & 0x00FF00u) * weight256) >> 8 & 0x00FF00u;
    return redBlue | green;
}

std::uint32_t weightOf(double progress) {
    return static_cast<std::uint32_t>(std::lround(progress * 256.0));
}

// The frame's pixels of the area, row by row, each from `pixel(x, y)`.
template <typename PixelAt> void fillArea(const CanvasRect& area, TTC& frame, PixelAt pixel) {
    for (int y = area.top; y < area.top + area.height; ++y) {
        std::uint32_t* row = frame.Row(y);
        for (int x = area.left; x < area.left + area.width; ++x)
            row[x] = pixel(x, y);
    }
}

void copyRows(const TTC& from, const CanvasRect& area, TTC& frame) {
    for (int y = area.top; y < area.top + area.height; ++y)
        std::copy_n(from.Row(y) + area.left, area.width, frame.Row(y) + area.left);
}

// `after` where inside(x, y) holds, `before` elsewhere.
template <typename Inside>
void reveal(const TTC& before, const TTC& after, const CanvasRect& area, TTC& frame,
            Inside inside) {
    fillArea(area, frame,
             [&](int x, int y) { return inside(x, y) ? after.Row(y)[x] : before.Row(y)[x]; });
}

// The pixel of `after` that lands on (x, y) when `after` is scaled by `scale`
// about the area's centre; none where it lands outside the picture's area.
struct Scaled {
    const TTC& after;
    const CanvasRect& area;
    double scale;

    std::optional<std::uint32_t> at(int x, int y) const {
        const double centreX = area.left + area.width / 2.0;
        const double centreY = area.top + area.height / 2.0;
        const auto fromX = static_cast<int>(std::floor(centreX + (x + 0.5 - centreX) / scale));
        const auto fromY = static_cast<int>(std::floor(centreY + (y + 0.5 - centreY) / scale));
        if (fromX < area.left || fromX >= area.left + area.width || fromY < area.top ||
            fromY >= area.top + area.height)
            return std::nullopt;
        return after.Row(fromY)[fromX];
    }
};

void fade(const TTC& before, const TTC& after, const CanvasRect& area, double progress,
          TTC& frame) {
    const std::uint32_t weight = weightOf(progress);
    fillArea(area, frame,
             [&](int x, int y) { return blend(before.Row(y)[x], after.Row(y)[x], weight); });
}

void randomPanels(const TTC& before, const TTC& after, const CanvasRect& area, double progress,
                  std::uint32_t seed, TTC& frame) {
    const int columns = (area.width + kPanelSize - 1) / kPanelSize;
    const int rows = (area.height + kPanelSize - 1) / kPanelSize;
    const int panels = columns * rows;
    // Each panel's turn, shuffled the same way for one seed on every machine.
    std::vector<int> turn(static_cast<std::size_t>(panels));
    for (int panel = 0; panel < panels; ++panel)
        turn[static_cast<std::size_t>(panel)] = panel;
    std::mt19937 random(seed);
    for (int last = panels - 1; last > 0; --last)
        std::swap(turn[static_cast<std::size_t>(last)],
                  turn[random() % static_cast<std::uint32_t>(last + 1)]);
    const auto shown = static_cast<int>(std::floor(progress * panels));
    reveal(before, after, area, frame, [&](int x, int y) {
        const int panel = (y - area.top) / kPanelSize * columns + (x - area.left) / kPanelSize;
        return turn[static_cast<std::size_t>(panel)] < shown;
    });
}

// `after` in blocks that grow finer, each the colour of its top-left pixel,
// faded in over `before`.
void mosaic(const TTC& before, const TTC& after, const CanvasRect& area, double progress,
            TTC& frame) {
    const int block = std::max(1, static_cast<int>(std::lround(kCoarsestBlock * (1.0 - progress))));
    const std::uint32_t weight = weightOf(progress);
    fillArea(area, frame, [&](int x, int y) {
        const int blockX = area.left + (x - area.left) / block * block;
        const int blockY = area.top + (y - area.top) / block * block;
        return blend(before.Row(y)[x], after.Row(blockY)[blockX], weight);
    });
}

// The rows of `after` swaying sideways less and less, faded in over `before`.
void wave(const TTC& before, const TTC& after, const CanvasRect& area, double progress,
          TTC& frame) {
    const double amplitude = area.width / 8.0 * (1.0 - progress);
    const std::uint32_t weight = weightOf(progress);
    for (int y = area.top; y < area.top + area.height; ++y) {
        const double phase = 2.0 * std::numbers::pi *
                             (kWaves * (y - area.top) / std::max(area.height, 1) + progress);
        const auto shift = static_cast<int>(std::lround(amplitude * std::sin(phase)));
        const std::uint32_t* from = before.Row(y);
        const std::uint32_t* source = after.Row(y);
        std::uint32_t* row = frame.Row(y);
        for (int x = area.left; x < area.left + area.width; ++x) {
            const int sourceX = x - shift;
            const bool inside = sourceX >= area.left && sourceX < area.left + area.width;
            row[x] = inside ? blend(from[x], source[sourceX], weight) : from[x];
        }
    }
}

void zoomUp(const TTC& before, const TTC& after, const CanvasRect& area, double progress,
            TTC& frame) {
    if (progress <= 0.0) {
        copyRows(before, area, frame);
        return;
    }
    const Scaled scaled{after, area, progress};
    fillArea(area, frame, [&](int x, int y) { return scaled.at(x, y).value_or(before.Row(y)[x]); });
}

void zoomDown(const TTC& before, const TTC& after, const CanvasRect& area, double progress,
              TTC& frame) {
    const Scaled scaled{after, area, kLargestZoom - (kLargestZoom - 1.0) * progress};
    const std::uint32_t weight = weightOf(progress);
    fillArea(area, frame, [&](int x, int y) {
        const std::uint32_t under = before.Row(y)[x];
        return blend(under, scaled.at(x, y).value_or(under), weight);
    });
}

// A rectangle of `after` growing from the centre of the area, unscaled.
void box(const TTC& before, const TTC& after, const CanvasRect& area, double progress, TTC& frame) {
    const double halfWidth = area.width * progress / 2.0;
    const double halfHeight = area.height * progress / 2.0;
    const double centreX = area.left + area.width / 2.0;
    const double centreY = area.top + area.height / 2.0;
    reveal(before, after, area, frame, [&](int x, int y) {
        return std::abs(x + 0.5 - centreX) < halfWidth && std::abs(y + 0.5 - centreY) < halfHeight;
    });
}

} // namespace

void drawTransitionFrame(Transition transition, const TTC& before, const TTC& after,
                         const CanvasRect& wanted, double progress, std::uint32_t seed,
                         TTC& frame) {
    frame.SetSize(after.Width(), after.Height());
    copyRows(after, {0, 0, after.Width(), after.Height()}, frame);
    const CanvasRect area = clipped(wanted, after);
    progress = std::clamp(progress, 0.0, 1.0);
    if (area.width == 0 || area.height == 0 || progress >= 1.0)
        return;
    switch (transition) {
    case Transition::Cut:
        return;
    case Transition::Fade:
        return fade(before, after, area, progress, frame);
    case Transition::CurtainLeft: {
        const double edge = area.left + area.width * progress;
        return reveal(before, after, area, frame, [edge](int x, int) { return x < edge; });
    }
    case Transition::CurtainTop: {
        const double edge = area.top + area.height * progress;
        return reveal(before, after, area, frame, [edge](int, int y) { return y < edge; });
    }
    case Transition::RandomPanels:
        return randomPanels(before, after, area, progress, seed, frame);
    case Transition::Mosaic:
        return mosaic(before, after, area, progress, frame);
    case Transition::Wave:
        return wave(before, after, area, progress, frame);
    case Transition::ZoomUp:
        return zoomUp(before, after, area, progress, frame);
    case Transition::ZoomDown:
        return zoomDown(before, after, area, progress, frame);
    case Transition::Blind: {
        const double open = kSlatHeight * progress;
        return reveal(before, after, area, frame,
                      [&](int, int y) { return (y - area.top) % kSlatHeight < open; });
    }
    case Transition::Box:
        return box(before, after, area, progress, frame);
    }
}

} // namespace pagora
