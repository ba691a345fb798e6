#include "settings/layout_preview.h"

#include <algorithm>
#include <utility>

namespace pagora {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr int kDashLength = 4;

TTC whiteCanvas(LayoutSize size) {
    TTC canvas(size.width, size.height);
    canvas.Fill(kWhite);
    return canvas;
}

void drawGrid(TTC& canvas) {
    for (int y = 0; y < canvas.Height(); ++y) {
        std::uint32_t* row = canvas.Row(y);
        if (y % kGridSpacing == 0) {
            std::fill_n(row, canvas.Width(), LayoutPreview::kGridColor);
            continue;
        }
        for (int x = 0; x < canvas.Width(); x += kGridSpacing)
            row[x] = LayoutPreview::kGridColor;
    }
}

// Black and white dashes, so that the outline shows on any picture.
std::uint32_t dashColor(int along) {
    return (along % (2 * kDashLength) + 2 * kDashLength) % (2 * kDashLength) < kDashLength ? kBlack
                                                                                           : kWhite;
}

void drawRow(TTC& canvas, int y, int from, int to) {
    if (y < 0 || y >= canvas.Height())
        return;
    for (int x = std::max(from, 0); x <= std::min(to, canvas.Width() - 1); ++x)
        canvas.Row(y)[x] = dashColor(x);
}

void drawColumn(TTC& canvas, int x, int from, int to) {
    if (x < 0 || x >= canvas.Width())
        return;
    for (int y = std::max(from, 0); y <= std::min(to, canvas.Height() - 1); ++y)
        canvas.Row(y)[x] = dashColor(y);
}

} // namespace

LayoutPreview::LayoutPreview() {
    for (TTC& background : backgrounds_)
        background = whiteCanvas({640, 480});
}

void LayoutPreview::openWindow(int windowNo, LayoutSize size, const PlayWindowLook& look) {
    windowNo_ = playWindowIndex(windowNo);
    look_ = look;
    TTC& background = backgrounds_[static_cast<std::size_t>(windowNo_)];
    if (background.Width() != size.width || background.Height() != size.height) {
        TTC resized = whiteCanvas(size);
        background.Draw(resized, 0, 0);
        background = std::move(resized);
    }
    gridded_ = background;
    drawGrid(gridded_);
    canvas_.SetScreenSize(size.width, size.height);
}

void LayoutPreview::setPicture(Picture picture) {
    picture_.SetSize(picture.Width, picture.Height);
    CopyPictureToCanvas(picture, 0, 0, picture_);
    pictureDrawer_.forget();
}

void LayoutPreview::releasePicture() {
    picture_ = TTC();
    pictureDrawer_.forget();
    canvas_.SetSpriteSize(0, 0);
}

std::uint32_t LayoutPreview::pictureColor(LayoutPoint at) const {
    return SwapRedBlue(picture_.Pixel(at.x, at.y));
}

void LayoutPreview::drawPicture(const LayoutFrame& frame, const PictureLook& look, bool guides) {
    startScreen(guides);
    pictureDrawer_.draw(canvas_, picture_, frame, look);
    if (guides)
        drawOutline(frame);
}

void LayoutPreview::drawText(const LayoutFrame& frame, const SampleLook& sample, bool guides) {
    startScreen(guides);
    MessageText message;
    message.text = sample.text;
    message.left = frame.left;
    message.top = frame.top;
    message.right = frame.right;
    message.bottom = frame.bottom;
    message.fontName = look_.fontName;
    message.style = {std::clamp(sample.fontSize, kMinMessageSize, kMaxMessageSize), look_.bold,
                     look_.italic};
    message.color = sample.fontColor;
    messageOut_.draw(canvas_.ScreenContext(), message, look_.shadow, look_.shadowColor);
    if (guides)
        drawOutline(frame);
}

void LayoutPreview::setBackground(int windowNo, TTC background) {
    backgrounds_[static_cast<std::size_t>(playWindowIndex(windowNo))] = std::move(background);
}

void LayoutPreview::startScreen(bool guides) {
    const TTC& base = guides ? gridded_ : backgrounds_[static_cast<std::size_t>(windowNo_)];
    base.Draw(canvas_.ScreenContext(), 0, 0);
}

void LayoutPreview::drawOutline(const LayoutFrame& frame) {
    TTC& screen = canvas_.ScreenContext();
    drawRow(screen, frame.top, frame.left, frame.right);
    drawRow(screen, frame.bottom, frame.left, frame.right);
    drawColumn(screen, frame.left, frame.top, frame.bottom);
    drawColumn(screen, frame.right, frame.top, frame.bottom);
}

} // namespace pagora
