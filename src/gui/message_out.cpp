#include "gui/message_out.h"

#include "gui/canvas_image.h"
#include "gui/qt_text.h"

#include <QColor>
#include <QPainter>
#include <QRect>

namespace pagora {
namespace {

void drawRun(QPainter& painter, int x, int baseline, const QString& text, std::uint32_t color) {
    painter.setPen(QColor(static_cast<QRgb>(screenColor(color))));
    painter.drawText(x, baseline, text);
}

} // namespace

void TMessageOut::draw(TTC& picture, const MessageText& message, bool shadow,
                       std::uint32_t shadowColor) {
    drawPieces(picture, message, layout(message), shadow, shadowColor);
}

void TMessageOut::drawPieces(TTC& picture, const MessageText& message,
                             std::span<const MessagePiece> pieces, bool shadow,
                             std::uint32_t shadowColor) {
    const QRect area =
        QRect(QPoint(message.left, message.top), QPoint(message.right, message.bottom))
            .intersected(QRect(0, 0, picture.Width(), picture.Height()));
    if (area.isEmpty() || pieces.empty())
        return;
    QImage image = canvasImage(picture, area);
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
    copyToCanvas(image, area, picture);
}

std::vector<MessagePiece> TMessageOut::layout(const MessageText& message) {
    return layoutMessage(message, fonts_);
}

} // namespace pagora
