#pragma once

#include "images/picture.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace pagora {

// An off-screen true-colour canvas: 32-bit pixels 0x00RRGGBB stored bottom-up,
// as a device-independent bitmap keeps them, reached through a row table so
// that row 0 is the top row.
class TTC {
public:
    TTC() = default;
    TTC(int width, int height) { SetSize(width, height); }

    // Reallocates (cleared to black) when the size differs; the same size
    // keeps the pixels. Negative sizes count as 0.
    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }

    // The pixel at (x, y); 0 outside the canvas.
    std::uint32_t Pixel(int x, int y) const;
    // Sets a pixel; outside the canvas nothing happens.
    void SetPixel(int x, int y, std::uint32_t color);
    void Fill(std::uint32_t color);

    // Row y (0 = top), Width pixels. y must lie inside the canvas.
    std::uint32_t* Row(int y) { return bits_.data() + rowTable_[static_cast<std::size_t>(y)] / 4; }
    const std::uint32_t* Row(int y) const {
        return bits_.data() + rowTable_[static_cast<std::size_t>(y)] / 4;
    }
    // The pixel memory, bottom row first, and the byte offset of each row.
    std::span<const std::uint32_t> Bits() const { return bits_; }
    std::span<const std::size_t> RowTable() const { return rowTable_; }

    // Copies the whole canvas onto target at (x, y), clipped to target.
    void Draw(TTC& target, int x, int y) const;
    // The pixels top row first, as a picture.
    Picture ToPicture() const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> bits_;
    std::vector<std::size_t> rowTable_;
};

// Draws a sprite over a screen, as the layout editor previews a picture in a
// play window: with a transparent colour, half-transparent, or both, at its
// size or stretched into a frame.
class TTrueCanvasCtrl {
public:
    // Hands the finished screen to whatever shows it.
    using TShowTarget = std::function<void(const TTC& screen)>;

    TTrueCanvasCtrl();

    void SetScreenSize(int width, int height);
    void SetSpriteSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    TTC& ScreenContext() { return screen_; }
    TTC& SpriteContext() { return sprite_; }
    const TTC& ScreenContext() const { return screen_; }
    const TTC& SpriteContext() const { return sprite_; }

    // The whole sprite onto the screen with its top-left corner at (x, y).
    void DrawSprite(int x, int y);
    // The whole sprite stretched into the screen rectangle from (x1, y1) to
    // (x2, y2), both corners included.
    void DrawSpriteStretched(int x1, int y1, int y2, int x2);
    void Show(const TShowTarget& control) const;
    // A sprite pixel as a 0x00BBGGRR colour.
    std::uint32_t SpritePixel(int x, int y) const;

    bool HalfTransparent = false;
    bool UseTransparentColor = false;
    bool AutoTransparentColor = false;         // the key is the sprite's bottom-left pixel
    std::uint32_t TransparentColor = 0xFFFFFF; // 0x00BBGGRR

private:
    enum class Routine { Copy, KeyCopy, HalfBlend, HalfBlendKey };
    Routine ChooseRoutine() const;
    std::uint32_t Key() const;

    TTC screen_;
    TTC sprite_;
    int width_ = 640;
    int height_ = 480;
};

// Exchanges the red and blue bytes: 0x00BBGGRR <-> 0x00RRGGBB.
constexpr std::uint32_t SwapRedBlue(std::uint32_t color) {
    return (color & 0xFF00FF00u) | (color & 0xFFu) << 16 | (color >> 16 & 0xFFu);
}

// Copies the part of a picture from (sourceX, sourceY) into the canvas at
// (0, 0); canvas pixels the picture does not cover keep their colour.
void CopyPictureToCanvas(const Picture& picture, int sourceX, int sourceY, TTC& canvas);

} // namespace pagora
