// The main window's side of the copies of modified comics: the snapshot it
// hands to the keeper, and the offer to restore a copy at the first show.
#include "editor/autosave.h"
#include "editor/main_window.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

namespace pagora {

std::optional<AutosaveSnapshot> TfrmMain::autosaveSnapshot() const {
    if (!isModified())
        return std::nullopt;
    return AutosaveSnapshot{file_.isUntitled() ? std::filesystem::path() : file_.fileName,
                            objects_.comic.SaveToBytes()};
}

void TfrmMain::offerLeftCopies() {
    for (LeftCopy& copy : autosave_->takeLeftCopies()) {
        const Answer answer = services_.prompter.message(
            MessageKind::Confirmation,
            PAGORA_CP932("前回、保存されずに終了したデータがあります。\n復元しますか？"),
            Buttons::YesNo);
        if (answer == Answer::Yes) {
            restoreLeftCopy(std::move(copy));
            return;
        }
        AutosaveKeeper::remove(std::move(copy));
    }
}

void TfrmMain::restoreLeftCopy(LeftCopy copy) {
    objects_.comic.LoadFromBytes(AutosaveKeeper::readComic(copy));
    file_.fileName =
        copy.comicFile.empty() ? std::filesystem::path(std::string(kUntitledName)) : copy.comicFile;
    objects_.flags.LoadFlags();
    objects_.comic.History().forgetCleanPoint();
    autosave_->adopt(std::move(copy));
    RefreshAll();
}

} // namespace pagora
