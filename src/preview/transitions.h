#pragma once

#include "images/true_canvas.h"
#include "player/play_meanings.h"

#include <cstdint>

namespace pagora {

// A rectangle of a canvas: the pixels from (left, top), width by height.
struct CanvasRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const CanvasRect&) const = default;
};

// One frame of a picture's transition: the window as it was (`before`)
// turning into the window with the picture drawn (`after`), from progress 0
// (all `before`) to 1 (all `after`), inside `area` (the whole window, or the
// picture's own area for the partial effects); outside it the frame shows
// `after`. The three canvases have one size; the area is cut to it. The seed
// fixes the order of the random panels, so that one transition plays the same
// way on every frame.
void drawTransitionFrame(Transition transition, const TTC& before, const TTC& after,
                         const CanvasRect& area, double progress, std::uint32_t seed, TTC& frame);

} // namespace pagora
