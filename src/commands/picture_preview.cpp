#include "commands/picture_preview.h"

#include "commands/picture_choice.h"
#include "gui/dialog_context.h"
#include "gui/qt_text.h"
#include "images/message_layout.h"
#include "platform/scripted_prompter.h"

#include <QPainter>
#include <QPixmap>

namespace pagora {
namespace {

constexpr int kSquare = 8;
constexpr QRgb kLightSquare = 0xFFFFFFFF;
constexpr QRgb kDarkSquare = 0xFFC8C8C8;
constexpr int kHalf = 128;

void drawCheckerboard(QPainter& painter, QSize size) {
    for (int y = 0; y < size.height(); y += kSquare)
        for (int x = 0; x < size.width(); x += kSquare)
            painter.fillRect(x, y, kSquare, kSquare,
                             QColor::fromRgba((x / kSquare + y / kSquare) % 2 == 0 ? kLightSquare
                                                                                   : kDarkSquare));
}

// The picture with the alpha its look gives each pixel.
QImage withAlpha(const Picture& picture, const ThumbnailLook& look) {
    QImage image(picture.Width, picture.Height, QImage::Format_ARGB32);
    const std::uint32_t opaque = look.halfTransparent ? kHalf : 0xFF;
    const std::optional<std::uint32_t> key =
        !look.useTransparent   ? std::nullopt
        : look.autoTransparent ? std::optional<std::uint32_t>(picture.at(0, picture.Height - 1))
                               : std::optional<std::uint32_t>(screenColor(look.transparentColor));
    for (int y = 0; y < picture.Height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.Width; ++x) {
            const std::uint32_t pixel = picture.at(x, y) & 0xFFFFFF;
            row[x] = (pixel == key ? 0 : opaque) << 24 | pixel;
        }
    }
    return image;
}

} // namespace

QImage pictureThumbnail(const Picture& picture, const ThumbnailLook& look, QSize largest) {
    if (picture.empty())
        return {};
    const QSize size = picture.Width > largest.width() || picture.Height > largest.height()
                           ? QSize(picture.Width, picture.Height)
                                 .scaled(largest, Qt::KeepAspectRatio)
                                 .expandedTo(QSize(1, 1))
                           : QSize(picture.Width, picture.Height);
    QImage thumbnail(size, QImage::Format_ARGB32);
    QPainter painter(&thumbnail);
    drawCheckerboard(painter, size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), withAlpha(picture, look));
    painter.end();
    return thumbnail;
}

PicturePreview::PicturePreview(const UserSettings& user, QWidget* parent)
    : QLabel(parent)
    , user_(user) {
    setObjectName(QStringLiteral("imgPreview"));
    setAlignment(Qt::AlignCenter);
    setFixedSize(kMaxWidth + 4, kMaxHeight + 4);
    setFrameShape(QFrame::StyledPanel);
}

void PicturePreview::load(const std::filesystem::path& file) {
    // A file that did not read is tried again: it may have been copied in since.
    if (picture_ && loadedFile_ == file)
        return;
    loadedFile_ = file;
    picture_.reset();
    if (file.empty())
        return;
    // The preview reads quietly: what is wrong with a file is told when it is chosen.
    ScriptedPrompter quiet;
    PictureLoad load = loadPicture(file, measuringReaders(file, user_.usePlugIns),
                                   pathFromText(utf8Text(user_.plugInDir)) / "*.SPI", quiet);
    picture_ = std::move(load.picture);
}

void PicturePreview::draw(const std::filesystem::path& file, const ThumbnailLook& look) {
    load(file);
    if (!picture_) {
        thumbnail_ = QImage();
        setText(QStringLiteral("（プレビューなし）"));
        return;
    }
    thumbnail_ = pictureThumbnail(*picture_, look, QSize(kMaxWidth, kMaxHeight));
    setPixmap(QPixmap::fromImage(thumbnail_));
}

} // namespace pagora
