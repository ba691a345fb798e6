#include "gui/canvas_image.h"

#include <cstdint>

namespace pagora {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000;

} // namespace

QImage canvasImage(const TTC& canvas, const QRect& area) {
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        const std::uint32_t* from = canvas.Row(area.top() + y) + area.left();
        auto* to = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x)
            to[x] = from[x] | kOpaque;
    }
    return image;
}

QImage canvasImage(const TTC& canvas) {
    return canvasImage(canvas, QRect(0, 0, canvas.Width(), canvas.Height()));
}

void copyToCanvas(const QImage& image, const QRect& area, TTC& canvas) {
    for (int y = 0; y < area.height(); ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        std::uint32_t* to = canvas.Row(area.top() + y) + area.left();
        for (int x = 0; x < area.width(); ++x)
            to[x] = from[x] & ~kOpaque;
    }
}

} // namespace pagora
