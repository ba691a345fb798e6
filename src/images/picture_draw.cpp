#include "images/picture_draw.h"

#include "images/canvas_transfer.h"

#include <algorithm>
#include <utility>

namespace pagora {

void PictureDrawer::draw(TTrueCanvasCtrl& canvas, TTC& picture, const PictureFrame& frame,
                         const PictureLook& look) {
    if (picture.Width() <= 0 || picture.Height() <= 0)
        return;
    canvas.HalfTransparent = look.halfTransparent;
    canvas.UseTransparentColor = look.useTransparent;
    if (look.stretched)
        drawStretched(canvas, picture, frame, look);
    else
        drawCutOut(canvas, picture, frame, look);
}

void PictureDrawer::drawCutOut(TTrueCanvasCtrl& canvas, const TTC& picture,
                               const PictureFrame& frame, const PictureLook& look) {
    // The part of the picture the frame shows: from the view offset, at most
    // the frame's size; a frame reaching past the picture shows the
    // background beyond it.
    const int shownWidth = std::min(frame.width(), picture.Width() - look.view.x);
    const int shownHeight = std::min(frame.height(), picture.Height() - look.view.y);
    if (look.view.x < 0 || look.view.y < 0 || shownWidth <= 0 || shownHeight <= 0)
        return;
    // The automatic key is the bottom-left pixel of that part, as the player
    // takes it, however much of the part lies on the screen.
    canvas.AutoTransparentColor = false;
    canvas.TransparentColor =
        look.autoTransparent
            ? SwapRedBlue(picture.Pixel(look.view.x, look.view.y + shownHeight - 1))
            : look.transparentColor;
    // Only what lies on the screen is copied into the sprite.
    const PicturePoint at{std::max(frame.left, 0), std::max(frame.top, 0)};
    const int onScreenWidth = std::min(shownWidth - (at.x - frame.left), canvas.Width() - at.x);
    const int onScreenHeight = std::min(shownHeight - (at.y - frame.top), canvas.Height() - at.y);
    if (onScreenWidth <= 0 || onScreenHeight <= 0)
        return;
    fillSprite(canvas, picture,
               {{look.view.x + at.x - frame.left, look.view.y + at.y - frame.top},
                onScreenWidth,
                onScreenHeight});
    canvas.DrawSprite(at.x, at.y);
}

void PictureDrawer::drawStretched(TTrueCanvasCtrl& canvas, TTC& picture, const PictureFrame& frame,
                                  const PictureLook& look) {
    canvas.AutoTransparentColor = look.autoTransparent;
    canvas.TransparentColor = look.transparentColor;
    // The picture is lent to the sprite canvas for the transfer rather than
    // copied into it; the sprite's own part comes back afterwards.
    std::swap(canvas.SpriteContext(), picture);
    canvas.DrawSpriteStretched(frame.left, frame.top, frame.bottom, frame.right);
    std::swap(canvas.SpriteContext(), picture);
}

void PictureDrawer::fillSprite(TTrueCanvasCtrl& canvas, const TTC& picture,
                               const SpritePart& part) {
    if (spritePart_ == part)
        return;
    canvas.SetSpriteSize(part.width, part.height);
    TTransferRect rect;
    rect.Width = part.width;
    rect.Height = part.height;
    rect.SourceX = part.from.x;
    rect.SourceY = part.from.y;
    TransferCopy(picture, canvas.SpriteContext(), rect);
    spritePart_ = part;
}

} // namespace pagora
