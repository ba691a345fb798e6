#pragma once

#include "images/true_canvas.h"

#include <cstdint>

namespace pagora {

// A transfer from a source canvas to a destination canvas: the source
// rectangle (Width x Height at SourceX, SourceY) and the destination corner;
// stretched transfers also give the destination size.
struct TTransferRect {
    int Width = 0;
    int Height = 0;
    int SourceX = 0;
    int SourceY = 0;
    int DestX = 0;
    int DestY = 0;
    int DestWidth = 0;
    int DestHeight = 0;
};

// Unscaled transfers, clipped to the destination (a part left of or above it
// moves the source start) and to the source canvas.
void TransferCopy(const TTC& source, TTC& dest, TTransferRect rect);
// Only source pixels that differ from key.
void TransferKeyCopy(const TTC& source, TTC& dest, TTransferRect rect, std::uint32_t key);
// dest = (source >> 1 & 0x7F7F7F) + (dest >> 1 & 0x7F7F7F)
void TransferHalfBlend(const TTC& source, TTC& dest, TTransferRect rect);
void TransferHalfBlendKey(const TTC& source, TTC& dest, TTransferRect rect, std::uint32_t key);

// The same four rules with the source rectangle scaled to DestWidth x
// DestHeight by nearest neighbour, in 16.16 fixed-point steps of
// (source size / destination size) x 65535. Nothing is drawn when the source
// rectangle does not lie inside the source canvas or a size is not positive.
void TransferStretchCopy(const TTC& source, TTC& dest, TTransferRect rect);
void TransferStretchKeyCopy(const TTC& source, TTC& dest, TTransferRect rect, std::uint32_t key);
void TransferStretchHalfBlend(const TTC& source, TTC& dest, TTransferRect rect);
void TransferStretchHalfBlendKey(const TTC& source, TTC& dest, TTransferRect rect,
                                 std::uint32_t key);

} // namespace pagora
