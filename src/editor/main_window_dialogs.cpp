// The dialogs and help pages that the main window opens.
#include "document/comic_editing.h"
#include "editor/command_list_view.h"
#include "editor/condition_dialog.h"
#include "editor/help_viewer.h"
#include "editor/main_window.h"
#include "editor/version_dialog.h"

namespace pagora {

void TfrmMain::menuConditionClick() {
    TfrmCondition dialog(context_, this);
    dialog.load(
        {session_.showCmdIcon, session_.usePlugIns, session_.plugInDir, session_.playerFile});
    services_.runModal(dialog);
    const EnvironmentValues& values = dialog.values();
    session_.showCmdIcon = values.showCmdIcon;
    session_.usePlugIns = values.usePlugIns;
    session_.plugInDir = values.plugInDir;
    session_.playerFile = values.playerFile;
    lstCmdList_->viewport()->update();
}

void TfrmMain::menuVersionClick() {
    TfrmVersion dialog(context_, this);
    dialog.load();
    services_.runModal(dialog);
    // The user field is written back without marking the comic modified.
    if (dialog.closingUserText())
        writeHeaderKeys(objects_.comic, "Comic", {{"Copyright", *dialog.closingUserText()}});
}

void TfrmMain::menuHelpContentsClick() {
    showHelpPage(services_, helpContentsUrl(services_.helpFolder));
}

void TfrmMain::menuHelpKeywordClick() {
    showHelpPage(services_, helpKeywordsUrl(services_.helpFolder));
}

void TfrmMain::menuHelpOnHelpClick() {
    showHelpTopic(services_, kHelpOnHelpTopic);
}

} // namespace pagora
