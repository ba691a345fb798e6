// Undo and redo: a step of the comic's edit history replayed, and the place
// of the change shown.
#include "editor/main_window.h"

#include <algorithm>

namespace pagora {
namespace {

// The header blocks the variable table is read from.
bool touchesVariables(const std::vector<std::string>& headerBlocks) {
    return std::any_of(headerBlocks.begin(), headerBlocks.end(), [](const std::string& block) {
        return block == "ValueFlag" || block == "StringFlag" || block == "Comic";
    });
}

} // namespace

void TfrmMain::menuUndoClick() {
    showReplay(objects_.comic.History().undo());
}

void TfrmMain::menuRedoClick() {
    showReplay(objects_.comic.History().redo());
}

void TfrmMain::showReplay(const std::optional<EditReplay>& replay) {
    if (!replay)
        return;
    if (touchesVariables(replay->headerBlocks))
        objects_.flags.LoadFlags();
    BuildTree();
    const EditPlace& place = replay->place;
    if (objects_.comic.PageExists(place.book, place.page)) {
        OpenPage(place.book, place.page, place.line);
    } else {
        // A header change names no page: the open page stays, if it still exists.
        if (!place.book.empty())
            file_.currentBook = place.book;
        Reanchor();
    }
}

bool TfrmMain::isModified() const {
    return !objects_.comic.History().isClean();
}

} // namespace pagora
