// The dialogs and help pages that the main window opens.
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
    if (!dialog.closingUserText())
        return;
    // The author written back is a step of its own that leaves a clean comic
    // clean: the author is not counted as a change of the comic.
    EditHistory& history = objects_.comic.History();
    const bool clean = history.isClean();
    writeHeaderKeys(objects_.comic, "Comic", {{"Copyright", *dialog.closingUserText()}});
    if (clean)
        history.markClean();
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
