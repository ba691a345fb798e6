#pragma once

#include "images/true_canvas.h"

#include <cstdint>
#include <optional>

namespace pagora {

struct PicturePoint {
    int x = 0;
    int y = 0;
    bool operator==(const PicturePoint&) const = default;
};

// A picture's frame in window pixels; both edges belong to it.
struct PictureFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool contains(PicturePoint at) const {
        return at.x >= left && at.x <= right && at.y >= top && at.y <= bottom;
    }
    bool operator==(const PictureFrame&) const = default;
};

// How a picture is drawn into its frame.
struct PictureLook {
    PicturePoint view; // the top-left of the part shown, in picture pixels
    bool stretched = false;
    bool useTransparent = false;
    bool autoTransparent = false;
    bool halfTransparent = false;
    std::uint32_t transparentColor = 0; // 0x00BBGGRR
};

// Draws a picture into the screen of a canvas control as the player draws
// it: the part from the view offset cut to the frame, or the whole picture
// stretched into it, with the transparent colour and half transparency. The
// part last copied into the sprite is remembered, so that redrawing the same
// part does not copy it again; forget() when the picture changes.
class PictureDrawer {
public:
    void draw(TTrueCanvasCtrl& canvas, TTC& picture, const PictureFrame& frame,
              const PictureLook& look);
    void forget() { spritePart_.reset(); }

private:
    struct SpritePart {
        PicturePoint from;
        int width = 0;
        int height = 0;
        bool operator==(const SpritePart&) const = default;
    };

    void drawCutOut(TTrueCanvasCtrl& canvas, const TTC& picture, const PictureFrame& frame,
                    const PictureLook& look);
    void drawStretched(TTrueCanvasCtrl& canvas, TTC& picture, const PictureFrame& frame,
                       const PictureLook& look);
    void fillSprite(TTrueCanvasCtrl& canvas, const TTC& picture, const SpritePart& part);

    std::optional<SpritePart> spritePart_;
};

} // namespace pagora
