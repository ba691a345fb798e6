#pragma once

#include "images/true_canvas.h"

#include <QImage>
#include <QRect>

namespace pagora {

// A part of a canvas as an opaque image to paint on or show. The canvas keeps
// its rows bottom-up and its pixels without alpha, which a QImage cannot
// wrap, so the part is copied. area must lie inside the canvas.
QImage canvasImage(const TTC& canvas, const QRect& area);
QImage canvasImage(const TTC& canvas);

// Copies an image made by canvasImage back into the canvas at area's place.
void copyToCanvas(const QImage& image, const QRect& area, TTC& canvas);

} // namespace pagora
