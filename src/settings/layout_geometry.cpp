#include "settings/layout_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace pagora {
namespace {

int distance(int a, int b) {
    return std::abs(a - b);
}

// Which of two edges a point is near: the first, the second or neither.
FrameGrip nearer(int at, int first, int second, FrameGrip firstGrip, FrameGrip secondGrip) {
    const int toFirst = distance(at, first);
    const int toSecond = distance(at, second);
    if (std::min(toFirst, toSecond) > kHitTolerance)
        return FrameGrip::None;
    return toFirst <= toSecond ? firstGrip : secondGrip;
}

// The left (top) edge moved to `to`, at most `span` pixels from the right
// (bottom) edge and at least one pixel short of it; and the other way round.
int leadingEdge(int to, int opposite, int span) {
    return std::min(std::max(to, opposite - span + 1), opposite - 1);
}

int trailingEdge(int to, int opposite, int span) {
    return std::max(std::min(to, opposite + span - 1), opposite + 1);
}

int limitCoordinate(int value) {
    return std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
}

} // namespace

int snapToStep(int coordinate, int step) {
    return step > 1 ? coordinate / step * step : coordinate;
}

int usableStep(int step) {
    return step == 2 || step == 5 || step == 10 ? step : 1;
}

FrameGrip hitTest(const LayoutFrame& frame, LayoutPoint at) {
    if (at.y >= frame.top && at.y <= frame.bottom) {
        const FrameGrip side =
            nearer(at.x, frame.left, frame.right, FrameGrip::Left, FrameGrip::Right);
        if (side != FrameGrip::None)
            return side;
    }
    if (at.x >= frame.left && at.x <= frame.right) {
        const FrameGrip end =
            nearer(at.y, frame.top, frame.bottom, FrameGrip::Top, FrameGrip::Bottom);
        if (end != FrameGrip::None)
            return end;
    }
    return frame.contains(at) ? FrameGrip::Inside : FrameGrip::None;
}

LayoutFrame dragEdge(const LayoutFrame& frame, FrameGrip edge, int to, LayoutSize window,
                     const std::optional<LayoutSize>& picture) {
    const int x = std::clamp(to, 0, std::max(window.width - 1, 0));
    const int y = std::clamp(to, 0, std::max(window.height - 1, 0));
    const int widest = picture ? picture->width : kCoordinateLimit;
    const int highest = picture ? picture->height : kCoordinateLimit;
    LayoutFrame dragged = frame;
    switch (edge) {
    case FrameGrip::Left:
        dragged.left = leadingEdge(x, frame.right, widest);
        break;
    case FrameGrip::Right:
        dragged.right = trailingEdge(x, frame.left, widest);
        break;
    case FrameGrip::Top:
        dragged.top = leadingEdge(y, frame.bottom, highest);
        break;
    case FrameGrip::Bottom:
        dragged.bottom = trailingEdge(y, frame.top, highest);
        break;
    case FrameGrip::None:
    case FrameGrip::Inside:
        break;
    }
    return dragged;
}

LayoutFrame moveFrame(const LayoutFrame& frame, LayoutPoint by) {
    return {frame.left + by.x, frame.top + by.y, frame.right + by.x, frame.bottom + by.y};
}

LayoutFrame keepInside(const LayoutFrame& frame, LayoutSize window) {
    LayoutFrame kept = frame;
    if (kept.left < 0)
        kept = moveFrame(kept, {-kept.left, 0});
    if (kept.top < 0)
        kept = moveFrame(kept, {0, -kept.top});
    if (kept.right > window.width - 1)
        kept = moveFrame(kept, {std::max(window.width - 1 - kept.right, -kept.left), 0});
    if (kept.bottom > window.height - 1)
        kept = moveFrame(kept, {0, std::max(window.height - 1 - kept.bottom, -kept.top)});
    return kept;
}

LayoutPoint clampView(LayoutPoint view, const LayoutFrame& frame, LayoutSize picture) {
    return {std::clamp(view.x, 0, std::max(picture.width - frame.width(), 0)),
            std::clamp(view.y, 0, std::max(picture.height - frame.height(), 0))};
}

LayoutFrame openingFrame(const LayoutFrame& frame, const std::optional<LayoutSize>& picture,
                         LayoutSize window) {
    LayoutFrame opened{limitCoordinate(frame.left), limitCoordinate(frame.top),
                       limitCoordinate(frame.right), limitCoordinate(frame.bottom)};
    if (opened.left >= opened.right)
        opened.right =
            std::max(picture ? opened.left + std::min(picture->width, kCoordinateLimit) - 1
                             : window.width - 1,
                     opened.left + 1);
    if (opened.top >= opened.bottom)
        opened.bottom =
            std::max(picture ? opened.top + std::min(picture->height, kCoordinateLimit) - 1
                             : window.height - 1,
                     opened.top + 1);
    return opened;
}

LayoutSize previewSize(LayoutSize window) {
    return {std::clamp(window.width, kMinPreviewSide, kMaxPreviewSide),
            std::clamp(window.height, kMinPreviewSide, kMaxPreviewSide)};
}

std::optional<LayoutPoint> picturePixelAt(const LayoutFrame& frame, LayoutPoint view,
                                          LayoutSize picture, bool stretched, LayoutPoint at) {
    if (!frame.contains(at))
        return std::nullopt;
    const long long dx = at.x - frame.left;
    const long long dy = at.y - frame.top;
    const long long x = stretched ? dx * picture.width / frame.width() : view.x + dx;
    const long long y = stretched ? dy * picture.height / frame.height() : view.y + dy;
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height)
        return std::nullopt;
    return LayoutPoint{static_cast<int>(x), static_cast<int>(y)};
}

} // namespace pagora
