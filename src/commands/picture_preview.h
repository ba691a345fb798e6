#pragma once

#include "images/picture.h"

#include <QImage>
#include <QLabel>
#include <QSize>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace pagora {

struct UserSettings;

// How a picture command draws its picture.
struct ThumbnailLook {
    bool useTransparent = false;
    bool autoTransparent = false; // the colour of the bottom-left pixel
    bool halfTransparent = false;
    std::uint32_t transparentColor = 0; // 0x00BBGGRR
};

// The picture drawn over a checkerboard, so that what is transparent shows
// as such, shrunk (never enlarged) to fit within largest.
QImage pictureThumbnail(const Picture& picture, const ThumbnailLook& look, QSize largest);

// A thumbnail of a picture command's picture, read when the file changes
// and redrawn when the look changes. A file that is missing or that no
// reader can read shows a line of text instead, and no message.
class PicturePreview : public QLabel {
    Q_OBJECT

public:
    static constexpr int kMaxWidth = 200;
    static constexpr int kMaxHeight = 150;

    PicturePreview(const UserSettings& user, QWidget* parent = nullptr);

    // file empty: no picture.
    void draw(const std::filesystem::path& file, const ThumbnailLook& look);
    // The thumbnail as last drawn; null while there is none.
    const QImage& thumbnail() const { return thumbnail_; }

private:
    void load(const std::filesystem::path& file);

    const UserSettings& user_;
    std::optional<std::filesystem::path> loadedFile_;
    std::optional<Picture> picture_;
    QImage thumbnail_;
};

} // namespace pagora
