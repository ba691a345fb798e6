#pragma once

#include <QSize>
#include <QString>
#include <optional>

namespace pagora {

struct DialogContext;

// A picture file chosen for the comic: its bare name and, when a reader
// could read it, its size in pixels.
struct PictureChoice {
    QString fileName;
    std::optional<QSize> size;
};

// Lets the user choose a picture as the picture commands do: through
// chooseDataFile (refused while the comic is untitled, copied into the data
// folder) with the filter of pictures, then measures it, read as a bitmap
// when its name ends in ".bmp", else as MAG, else through the image
// plug-ins when the user turned them on. A picture none of them reads is
// told ("この画像形式には対応していません") and comes back without a size.
// Nothing when refused or cancelled.
std::optional<PictureChoice> choosePicture(const DialogContext& context);

} // namespace pagora
