#include "commands/message_preview.h"

#include "document/play_windows.h"
#include "gui/canvas_image.h"
#include "images/message_layout.h"

#include <QPixmap>
#include <algorithm>

namespace pagora {
namespace {

constexpr std::uint32_t kDarkBackground = 0x303030;
constexpr std::uint32_t kLightBackground = 0xFFFFFF;

// The previews are drawn for windows of a sensible size only.
constexpr int kLargestWindow = 4096;

int brightness(std::uint32_t rgb) {
    const int red = static_cast<int>((rgb >> 16) & 0xFF);
    const int green = static_cast<int>((rgb >> 8) & 0xFF);
    const int blue = static_cast<int>(rgb & 0xFF);
    return (red * 299 + green * 587 + blue * 114) / 1000;
}

} // namespace

MessagePreview::MessagePreview(const TComicFileCtrl& comic, QWidget* parent)
    : QLabel(parent)
    , comic_(comic) {
    setObjectName(QStringLiteral("imgPreview"));
    setAlignment(Qt::AlignCenter);
    setFixedSize(kMaxWidth + 4, kMaxHeight + 4);
    setFrameShape(QFrame::StyledPanel);
}

std::uint32_t MessagePreview::backgroundFor(std::uint32_t textColor) {
    return brightness(screenColor(textColor)) > 128 ? kDarkBackground : kLightBackground;
}

void MessagePreview::draw(const MessageSample& sample) {
    const PlayWindowLook look = readPlayWindow(comic_, sample.windowNo);
    const int width = std::clamp(look.width, 1, kLargestWindow);
    const int height = std::clamp(look.height, 1, kLargestWindow);
    window_.SetSize(width, height);
    window_.Fill(backgroundFor(sample.color));

    MessageText message;
    message.text = sample.text;
    message.left = sample.left;
    message.top = sample.top;
    message.right = sample.left < sample.right ? sample.right : width - 1;
    message.bottom = sample.top < sample.bottom ? sample.bottom : height - 1;
    message.fontName = look.fontName;
    message.style = {std::clamp(sample.fontSize, kMinMessageSize, kMaxMessageSize), look.bold,
                     look.italic};
    message.color = sample.color;
    messageOut_.draw(window_, message, look.shadow, look.shadowColor);

    const QImage image = canvasImage(window_);
    setPixmap(QPixmap::fromImage(
        width > kMaxWidth || height > kMaxHeight
            ? image.scaled(kMaxWidth, kMaxHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : image));
}

} // namespace pagora
