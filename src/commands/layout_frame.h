#pragma once

#include "document/cmd_records.h"
#include "gui/layout_editor.h"

namespace pagora {

// The "/POS:" frame of a command, handed to the layout editor and taken back
// from it by the dialogs' position buttons.
inline void giveFrame(TWindowLayoutEditor& editor, const TOptParam& option) {
    editor.PosLeft = option.PosLeft;
    editor.PosRight = option.PosRight;
    editor.PosTop = option.PosTop;
    editor.PosBottom = option.PosBottom;
}

inline void takeFrame(const TWindowLayoutEditor& editor, TOptParam& option) {
    option.PosLeft = editor.PosLeft;
    option.PosRight = editor.PosRight;
    option.PosTop = editor.PosTop;
    option.PosBottom = editor.PosBottom;
}

} // namespace pagora
