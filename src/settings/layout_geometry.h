#pragma once

#include "images/picture_draw.h"

#include <optional>

namespace pagora {

// The rules by which the layout editor's frame follows the mouse, kept apart
// from the window so that they can be checked on their own.

using LayoutPoint = PicturePoint;

struct LayoutSize {
    int width = 0;
    int height = 0;
    bool operator==(const LayoutSize&) const = default;
};

// A frame in window pixels; both edges belong to it.
using LayoutFrame = PictureFrame;

inline constexpr int kGridSpacing = 10;
inline constexpr int kHitTolerance = 3;
// Play window sizes the preview shows; a size outside is shown at the limit.
inline constexpr int kMinPreviewSide = 16;
inline constexpr int kMaxPreviewSide = 2048;
// Coordinates of frames and picture offsets are kept within this distance
// of 0, so that sums of them stay far from overflowing.
inline constexpr int kCoordinateLimit = 1000000;

// What a press of the left button takes hold of.
enum class FrameGrip { None, Left, Right, Top, Bottom, Inside };

// A mouse coordinate cut down to a multiple of step (integer division, then
// multiplication).
int snapToStep(int coordinate, int step);
// The step the mouse moves by: 1, 2, 5 or 10; any other value counts as 1.
int usableStep(int step);

// Near a side edge (within kHitTolerance horizontally, between top and
// bottom) that edge, else near the top or bottom edge (within kHitTolerance
// vertically, between left and right) that edge, else inside the frame the
// frame itself. Where two edges are equally near, left and top win.
FrameGrip hitTest(const LayoutFrame& frame, LayoutPoint at);

// The frame with one edge dragged to a coordinate. The edge stays inside the
// window and short of the opposite edge, so that the frame keeps a width and
// a height of at least two pixels; with a picture, it stops where the frame
// would become wider or higher than the picture.
LayoutFrame dragEdge(const LayoutFrame& frame, FrameGrip edge, int to, LayoutSize window,
                     const std::optional<LayoutSize>& picture);

// Moves the frame by an offset, keeping its size.
LayoutFrame moveFrame(const LayoutFrame& frame, LayoutPoint by);

// A frame past the left or top border is moved to begin at 0, one past the
// right or bottom border to end at the last pixel, but not left of or above
// 0; the size is always kept.
LayoutFrame keepInside(const LayoutFrame& frame, LayoutSize window);

// The offset of the shown part of a picture, at 0 or more and so small that
// a part of the frame's size stays within the picture.
LayoutPoint clampView(LayoutPoint view, const LayoutFrame& frame, LayoutSize picture);

// The frame an editor opens with: coordinates within kCoordinateLimit, and
// a frame without width (left at or right of right) given one: the
// picture's width from the left edge, else up to the window's last column,
// and at least two pixels. Likewise a frame without height.
LayoutFrame openingFrame(const LayoutFrame& frame, const std::optional<LayoutSize>& picture,
                         LayoutSize window);

// A play window's size as the preview shows it, within kMinPreviewSide and
// kMaxPreviewSide.
LayoutSize previewSize(LayoutSize window);

// The pixel of the picture shown under a point of the frame: cut out at the
// view offset, or stretched into the frame. Nothing outside the frame or the
// picture.
std::optional<LayoutPoint> picturePixelAt(const LayoutFrame& frame, LayoutPoint view,
                                          LayoutSize picture, bool stretched, LayoutPoint at);

} // namespace pagora
