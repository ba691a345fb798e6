#include "editor/main_window.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/prompter.h"
#include "preview/preview_window.h"

namespace pagora {

TfrmPreview& TfrmMain::openPreview() {
    if (frmPreview_)
        frmPreview_->close();
    const PreviewSource source{
        objects_.comic,           file_.isUntitled() ? std::filesystem::path() : file_.fileName,
        user_.usePlugIns,         pathFromText(utf8Text(user_.plugInDir)) / "*.SPI",
        context_.makeMediaPlayer,
    };
    frmPreview_ = new TfrmPreview(
        source, services_,
        [this](const std::string& book, const std::string& page, int line) {
            OpenPage(book, page, line);
            activateWindow();
            raise();
        },
        this);
    frmPreview_->show();
    frmPreview_->activateWindow();
    return *frmPreview_;
}

void TfrmMain::menuPreviewClick() {
    if (file_.currentPage.empty()) {
        services_.prompter.warning(PAGORA_CP932("プレビューするページを開いてください"));
        return;
    }
    // The names are copied: opening a line from the preview changes the file session.
    const std::string book = file_.currentBook, page = file_.currentPage;
    openPreview().start(book, page);
}

void TfrmMain::menuPreviewStartClick() {
    openPreview().startAtStartPage();
}

} // namespace pagora
