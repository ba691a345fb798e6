#pragma once

#include "platform/prompter.h"

#include <QString>
#include <optional>

namespace pagora {

struct DialogContext;

// Lets the user choose a file for the comic to name, as every dialog that
// names a picture, a sound or a cursor does: refused while the comic is
// untitled; the chooser starts in the data folder unless it says otherwise; a
// file from another folder is copied into the data folder under its own name,
// never over a file already there. Gives the bare file name, for the comic to
// store. Nothing when refused or cancelled, when the file is not there, and,
// after telling the user why, when its name cannot be written in the comic or
// the copy failed.
std::optional<QString> chooseDataFile(const DialogContext& context, FileChooser chooser);

} // namespace pagora
