#include "images/true_canvas.h"

#include "images/canvas_transfer.h"

#include <algorithm>
#include <limits>

namespace pagora {

void TTC::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    std::vector<std::uint32_t> bits(w * h, 0);
    std::vector<std::size_t> rowTable(h);
    for (std::size_t y = 0; y < h; ++y)
        rowTable[y] = w * 4 * (h - 1 - y);
    bits_ = std::move(bits);
    rowTable_ = std::move(rowTable);
    width_ = width;
    height_ = height;
}

std::uint32_t TTC::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return Row(y)[x];
}

void TTC::SetPixel(int x, int y, std::uint32_t color) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        Row(y)[x] = color;
}

void TTC::Fill(std::uint32_t color) {
    std::fill(bits_.begin(), bits_.end(), color);
}

void TTC::Draw(TTC& target, int x, int y) const {
    TTransferRect rect;
    rect.Width = width_;
    rect.Height = height_;
    rect.DestX = x;
    rect.DestY = y;
    TransferCopy(*this, target, rect);
}

Picture TTC::ToPicture() const {
    Picture picture;
    picture.Width = width_;
    picture.Height = height_;
    picture.Colors = 16777216;
    picture.Pixels.reserve(bits_.size());
    for (int y = 0; y < height_; ++y)
        picture.Pixels.insert(picture.Pixels.end(), Row(y), Row(y) + width_);
    return picture;
}

TTrueCanvasCtrl::TTrueCanvasCtrl() {
    screen_.SetSize(width_, height_);
    sprite_.SetSize(640, 480);
}

void TTrueCanvasCtrl::SetScreenSize(int width, int height) {
    screen_.SetSize(width, height);
    width_ = screen_.Width();
    height_ = screen_.Height();
}

void TTrueCanvasCtrl::SetSpriteSize(int width, int height) {
    sprite_.SetSize(width, height);
}

TTrueCanvasCtrl::Routine TTrueCanvasCtrl::ChooseRoutine() const {
    if (HalfTransparent)
        return UseTransparentColor ? Routine::HalfBlendKey : Routine::HalfBlend;
    return UseTransparentColor ? Routine::KeyCopy : Routine::Copy;
}

std::uint32_t TTrueCanvasCtrl::Key() const {
    if (AutoTransparentColor)
        return sprite_.Pixel(0, sprite_.Height() - 1);
    return SwapRedBlue(TransparentColor);
}

void TTrueCanvasCtrl::DrawSprite(int x, int y) {
    TTransferRect rect;
    rect.Width = sprite_.Width();
    rect.Height = sprite_.Height();
    rect.DestX = x;
    rect.DestY = y;
    switch (ChooseRoutine()) {
    case Routine::Copy:
        TransferCopy(sprite_, screen_, rect);
        break;
    case Routine::KeyCopy:
        TransferKeyCopy(sprite_, screen_, rect, Key());
        break;
    case Routine::HalfBlend:
        TransferHalfBlend(sprite_, screen_, rect);
        break;
    case Routine::HalfBlendKey:
        TransferHalfBlendKey(sprite_, screen_, rect, Key());
        break;
    }
}

void TTrueCanvasCtrl::DrawSpriteStretched(int x1, int y1, int y2, int x2) {
    TTransferRect rect;
    rect.Width = sprite_.Width();
    rect.Height = sprite_.Height();
    rect.DestX = x1;
    rect.DestY = y1;
    rect.DestWidth = static_cast<int>(std::clamp<long long>(static_cast<long long>(x2) - x1 + 1, 0,
                                                            std::numeric_limits<int>::max()));
    rect.DestHeight = static_cast<int>(std::clamp<long long>(static_cast<long long>(y2) - y1 + 1, 0,
                                                             std::numeric_limits<int>::max()));
    switch (ChooseRoutine()) {
    case Routine::Copy:
        TransferStretchCopy(sprite_, screen_, rect);
        break;
    case Routine::KeyCopy:
        TransferStretchKeyCopy(sprite_, screen_, rect, Key());
        break;
    case Routine::HalfBlend:
        TransferStretchHalfBlend(sprite_, screen_, rect);
        break;
    case Routine::HalfBlendKey:
        TransferStretchHalfBlendKey(sprite_, screen_, rect, Key());
        break;
    }
}

void TTrueCanvasCtrl::Show(const TShowTarget& control) const {
    if (control)
        control(screen_);
}

std::uint32_t TTrueCanvasCtrl::SpritePixel(int x, int y) const {
    return SwapRedBlue(sprite_.Pixel(x, y));
}

void CopyPictureToCanvas(const Picture& picture, int sourceX, int sourceY, TTC& canvas) {
    for (int y = 0; y < canvas.Height(); ++y) {
        const long long py = static_cast<long long>(sourceY) + y;
        if (py < 0 || py >= picture.Height)
            continue;
        for (int x = 0; x < canvas.Width(); ++x) {
            const long long px = static_cast<long long>(sourceX) + x;
            if (px >= 0 && px < picture.Width)
                canvas.Row(y)[x] = picture.at(static_cast<int>(px), static_cast<int>(py));
        }
    }
}

} // namespace pagora
