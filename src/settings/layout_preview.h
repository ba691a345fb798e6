#pragma once

#include "document/play_windows.h"
#include "gui/message_out.h"
#include "images/picture.h"
#include "images/picture_draw.h"
#include "images/true_canvas.h"
#include "settings/layout_geometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace pagora {

// The sample text of text mode.
struct SampleLook {
    std::string_view text; // CP932
    int fontSize = 12;
    std::uint32_t fontColor = 0; // 0x00BBGGRR
};

// The layout editor's picture of a play window: the window's background
// with a 10-pixel grid, the picture (drawn as the player draws it, through
// the preview canvas) or the sample text in the frame, and the frame's
// outline. Each window keeps a background of its own, white until a
// preview is kept as it.
class LayoutPreview {
public:
    static constexpr std::uint32_t kGridColor = 0xC8C8C8; // pixels are 0x00RRGGBB

    LayoutPreview();

    // Makes the window the one previewed, at this size: its background is
    // cut or widened (in white) to the size, and the grid drawn over a copy.
    void openWindow(int windowNo, LayoutSize size, const PlayWindowLook& look);
    int windowNo() const { return windowNo_; }

    // The picture of picture mode, kept as a canvas until released.
    void setPicture(Picture picture);
    void releasePicture();
    bool hasPicture() const { return picture_.Width() > 0; }
    LayoutSize pictureSize() const { return {picture_.Width(), picture_.Height()}; }
    // A pixel of the picture as a colour of the comic (0x00BBGGRR).
    std::uint32_t pictureColor(LayoutPoint at) const;

    // Draws the preview into the screen canvas: with the grid and the
    // frame's outline, or (guides false) over the bare background.
    void drawPicture(const LayoutFrame& frame, const PictureLook& look, bool guides = true);
    void drawText(const LayoutFrame& frame, const SampleLook& sample, bool guides = true);
    const TTC& screen() const { return canvas_.ScreenContext(); }

    // Replaces a window's background (a preview kept by the caller); the
    // grid is drawn over it when the window is opened next.
    void setBackground(int windowNo, TTC background);

private:
    void startScreen(bool guides);
    void drawOutline(const LayoutFrame& frame);

    TTrueCanvasCtrl canvas_;
    TMessageOut messageOut_;
    std::array<TTC, kPlayWindowCount> backgrounds_;
    TTC gridded_; // the open window's background with the grid
    int windowNo_ = 0;
    PlayWindowLook look_;
    TTC picture_;
    PictureDrawer pictureDrawer_;
};

} // namespace pagora
