#include "images/canvas_transfer.h"

#include <algorithm>
#include <vector>

namespace pagora {
namespace {

using Wide = long long;

struct Span {
    Wide x, y, w, h, sx, sy;
};

// Cuts one axis so that [d, d + w) lies inside [0, limit), moving s along.
// False when nothing is left.
bool clipAxis(Wide& d, Wide& w, Wide& s, Wide limit) {
    if (d + w < 1 || d >= limit)
        return false;
    if (d < 0) {
        s -= d;
        w += d;
        d = 0;
    }
    w = std::min(w, limit - d);
    return w > 0;
}

bool clipUnscaled(const TTC& source, const TTC& dest, const TTransferRect& rect, Span& out) {
    out = {rect.DestX, rect.DestY, rect.Width, rect.Height, rect.SourceX, rect.SourceY};
    if (out.w <= 0 || out.h <= 0)
        return false;
    // The destination first, then the source canvas (which the drawing
    // routines never read outside of).
    return clipAxis(out.x, out.w, out.sx, dest.Width()) &&
           clipAxis(out.y, out.h, out.sy, dest.Height()) &&
           clipAxis(out.sx, out.w, out.x, source.Width()) &&
           clipAxis(out.sy, out.h, out.y, source.Height());
}

struct Copy {
    static void apply(std::uint32_t s, std::uint32_t& d) { d = s; }
};
struct HalfBlend {
    static void apply(std::uint32_t s, std::uint32_t& d) {
        d = (s >> 1 & 0x7F7F7Fu) + (d >> 1 & 0x7F7F7Fu);
    }
};
template <typename Rule> struct Keyed {
    std::uint32_t key;
    void apply(std::uint32_t s, std::uint32_t& d) const {
        if (s != key)
            Rule::apply(s, d);
    }
};

// Each row is walked from its last pixel to its first.
template <typename Rule>
void transferUnscaled(const TTC& source, TTC& dest, const TTransferRect& rect, Rule rule) {
    Span span{};
    if (!clipUnscaled(source, dest, rect, span))
        return;
    for (Wide row = 0; row < span.h; ++row) {
        const std::uint32_t* from = source.Row(static_cast<int>(span.sy + row)) + span.sx;
        std::uint32_t* to = dest.Row(static_cast<int>(span.y + row)) + span.x;
        for (Wide i = span.w - 1; i >= 0; --i)
            rule.apply(from[i], to[i]);
    }
}

// The source column or row of each destination column or row: the upper 16
// bits of an accumulator that starts at start x 65536 and grows by step.
std::vector<int> sourceIndices(Wide start, Wide step, Wide count, int limit) {
    std::vector<int> indices(static_cast<std::size_t>(count));
    Wide accumulator = start * 65536;
    for (int& index : indices) {
        index = static_cast<int>(std::min<Wide>(accumulator >> 16, limit - 1));
        accumulator += step;
    }
    return indices;
}

template <typename Rule>
void transferStretched(const TTC& source, TTC& dest, const TTransferRect& rect, Rule rule) {
    if (rect.Width <= 0 || rect.Height <= 0 || rect.DestWidth <= 0 || rect.DestHeight <= 0)
        return;
    if (rect.SourceX < 0 || rect.SourceY < 0 || Wide{rect.SourceX} + rect.Width > source.Width() ||
        Wide{rect.SourceY} + rect.Height > source.Height())
        return;
    const double factorX = static_cast<double>(rect.Width) / rect.DestWidth;
    const double factorY = static_cast<double>(rect.Height) / rect.DestHeight;
    const auto stepX = static_cast<Wide>(factorX * 65535.0);
    const auto stepY = static_cast<Wide>(factorY * 65535.0);

    Wide x = rect.DestX, y = rect.DestY, w = rect.DestWidth, h = rect.DestHeight;
    Wide sx = rect.SourceX, sy = rect.SourceY;
    if (x + w < 1 || y + h < 1 || x >= dest.Width() || y >= dest.Height())
        return;
    if (x < 0) {
        sx += static_cast<Wide>(static_cast<double>(-x) * factorX);
        w += x;
        x = 0;
    }
    if (y < 0) {
        sy += static_cast<Wide>(static_cast<double>(-y) * factorY);
        h += y;
        y = 0;
    }
    w = std::min(w, dest.Width() - x);
    h = std::min(h, dest.Height() - y);

    const std::vector<int> columns = sourceIndices(sx, stepX, w, source.Width());
    const std::vector<int> rows = sourceIndices(sy, stepY, h, source.Height());
    for (Wide row = 0; row < h; ++row) {
        const std::uint32_t* from = source.Row(rows[static_cast<std::size_t>(row)]);
        std::uint32_t* to = dest.Row(static_cast<int>(y + row)) + x;
        for (Wide i = w - 1; i >= 0; --i)
            rule.apply(from[columns[static_cast<std::size_t>(i)]], to[i]);
    }
}

} // namespace

void TransferCopy(const TTC& source, TTC& dest, TTransferRect rect) {
    transferUnscaled(source, dest, rect, Copy{});
}

void TransferKeyCopy(const TTC& source, TTC& dest, TTransferRect rect, std::uint32_t key) {
    transferUnscaled(source, dest, rect, Keyed<Copy>{key});
}

void TransferHalfBlend(const TTC& source, TTC& dest, TTransferRect rect) {
    transferUnscaled(source, dest, rect, HalfBlend{});
}

void TransferHalfBlendKey(const TTC& source, TTC& dest, TTransferRect rect, std::uint32_t key) {
    transferUnscaled(source, dest, rect, Keyed<HalfBlend>{key});
}

void TransferStretchCopy(const TTC& source, TTC& dest, TTransferRect rect) {
    transferStretched(source, dest, rect, Copy{});
}

void TransferStretchKeyCopy(const TTC& source, TTC& dest, TTransferRect rect, std::uint32_t key) {
    transferStretched(source, dest, rect, Keyed<Copy>{key});
}

void TransferStretchHalfBlend(const TTC& source, TTC& dest, TTransferRect rect) {
    transferStretched(source, dest, rect, HalfBlend{});
}

void TransferStretchHalfBlendKey(const TTC& source, TTC& dest, TTransferRect rect,
                                 std::uint32_t key) {
    transferStretched(source, dest, rect, Keyed<HalfBlend>{key});
}

} // namespace pagora
