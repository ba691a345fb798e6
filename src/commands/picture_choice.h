#pragma once

#include "images/picture_loader.h"

#include <QSize>
#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

namespace pagora {

class TComicFileCtrl;
struct DialogContext;
struct TOptParam;

// A picture the user chose for a command.
struct ChosenPicture {
    QString fileName; // the bare name in the data folder
    // The picture's size; nothing when no reader could read it (the user has
    // been told).
    std::optional<QSize> size;
};

// Lets the user choose a picture for a command, as the picture and the
// clickable-area dialogs do: refused while the comic is untitled; a file
// from another folder is copied into the data folder, never over a file of
// that name (which is then the one used); the picture in the data folder is
// measured with measurePicture. Nothing when refused or cancelled.
std::optional<ChosenPicture> choosePicture(const DialogContext& context);

// The readers a picture is measured with, in order: the bitmap reader for a
// ".bmp" file, the MAG decoder, and the plug-ins when the user has them on.
std::vector<PictureReader> measuringReaders(const std::filesystem::path& file, bool usePlugIns);

// The size of a picture file; nothing, after telling the user, when none of
// the measuring readers can read it.
std::optional<QSize> measurePicture(const DialogContext& context,
                                    const std::filesystem::path& file);

// Where a picture's size puts the right and bottom edges of its area.
enum class FarEdges {
    Inclusive, // on the picture's last column and row (a shown picture)
    OnePast,   // one column and row further (a clickable area)
};

// Sets the right and bottom edges of option's area ("/POS:") from its left
// and top ones and a picture's size, stopping at the comic's screen width
// and height.
void fitAreaToPicture(TOptParam& option, QSize picture, const TComicFileCtrl& comic,
                      FarEdges edges);

} // namespace pagora
