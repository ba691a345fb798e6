#include "settings/message_out.h"

#include "gui/qt_text.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

namespace pagora {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000;

// The part of the picture under the frame, as an image to paint on. Only
// that part is copied: the canvas keeps its rows bottom-up and its pixels
// without alpha, which a QImage cannot wrap.
QImage copyOut(const TTC& picture, const QRect& area) {
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        const std::uint32_t* from = picture.Row(area.top() + y) + area.left();
        auto* to = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x)
            to[x] = from[x] | kOpaque;
    }
    return image;
}

void copyBack(const QImage& image, const QRect& area, TTC& picture) {
    for (int y = 0; y < area.height(); ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        std::uint32_t* to = picture.Row(area.top() + y) + area.left();
        for (int x = 0; x < area.width(); ++x)
            to[x] = from[x] & ~kOpaque;
    }
}

void drawRun(QPainter& painter, int x, int baseline, const QString& text, std::uint32_t color) {
    painter.setPen(QColor(static_cast<QRgb>(screenColor(color))));
    painter.drawText(x, baseline, text);
}

} // namespace

void TMessageOut::draw(TTC& picture, const MessageText& message, bool shadow,
                       std::uint32_t shadowColor) {
    const QRect area =
        QRect(QPoint(message.left, message.top), QPoint(message.right, message.bottom))
            .intersected(QRect(0, 0, picture.Width(), picture.Height()));
    if (area.isEmpty())
        return;
    const std::vector<MessagePiece> pieces = layout(message);
    if (pieces.empty())
        return;
    QImage image = copyOut(picture, area);
    {
        QPainter painter(&image);
        painter.translate(-area.topLeft());
        for (const MessagePiece& piece : pieces) {
            painter.setFont(fonts_.font(message.fontName, piece.style));
            const QString text = qtText(piece.text);
            if (shadow) {
                const int offset = shadowOffset(piece.style.size);
                drawRun(painter, piece.x + offset, piece.baseline + offset, text, shadowColor);
            }
            drawRun(painter, piece.x, piece.baseline, text, piece.color);
        }
    }
    copyBack(image, area, picture);
}

std::vector<MessagePiece> TMessageOut::layout(const MessageText& message) {
    return layoutMessage(message, fonts_);
}

} // namespace pagora
