// The dialogs and help pages that the main window opens.
#include "editor/command_list_view.h"
#include "editor/condition_dialog.h"
#include "editor/main_window.h"
#include "editor/results_panel.h"
#include "editor/version_dialog.h"
#include "gui/help_topics.h"
#include "gui/help_viewer.h"
#include "gui/qt_text.h"
#include "settings/flag_set_dialog.h"
#include "settings/menu_set_dialog.h"
#include "settings/system_dialog.h"
#include "settings/window_position_dialog.h"
#include "wizards/package_wizard.h"

namespace pagora {

void TfrmMain::menuConditionClick() {
    TfrmCondition dialog(services_, this);
    const std::optional<EnvironmentValues> values =
        dialog.run({user_.showCmdIcon, user_.usePlugIns, user_.plugInDir, user_.playerFile});
    if (!values)
        return;
    user_.showCmdIcon = values->showCmdIcon;
    user_.usePlugIns = values->usePlugIns;
    user_.plugInDir = values->plugInDir;
    user_.playerFile = values->playerFile;
    lstCmdList_->viewport()->update();
}

void TfrmMain::menuSetupWizClick() {
    runSetup(SetupRun::Menu, true);
}

// The package is made of the comic as saved; the open comic only names its
// data folder.
void TfrmMain::menuPackageMakeClick() {
    if (refuseUntitled(file_, services_.prompter))
        return;
    TfrmLinkage wizard(services_, this);
    wizard.Execute(file_.fileName, objects_.comic.ReadHeader("Comic", "DataDirectory", ""));
}

void TfrmMain::menuVersionClick() {
    TfrmVersion dialog(context_, this);
    const std::optional<std::string> author = dialog.run();
    if (!author)
        return;
    // The author written back is a step of its own that leaves a clean comic
    // clean: the author is not counted as a change of the comic.
    EditHistory& history = objects_.comic.History();
    const bool clean = history.isClean();
    writeHeaderKeys(objects_.comic, {{"Comic", "Copyright", *author}});
    if (clean)
        history.markClean();
}

void TfrmMain::finishSettingsDialog(const std::optional<std::vector<HeaderEntry>>& confirmed) {
    if (!confirmed || !writeHeaderKeys(objects_.comic, *confirmed).done())
        objects_.comic.History().forgetCleanPoint();
    UpdateStatus();
}

void TfrmMain::menuFlagSettingClick() {
    // Each change was a step of its own when it was made; like the other
    // settings dialogs, closing without one still counts as a change.
    if (!runVariableTable(this))
        objects_.comic.History().forgetCleanPoint();
    UpdateStatus();
}

bool TfrmMain::runVariableTable(QWidget* parent) {
    TComicFileCtrl& comic = objects_.comic;
    bool changed = false;
    const auto noted = [&changed](EditVerdict verdict) {
        changed = changed || verdict.done();
        return verdict;
    };
    TfrmFlagSet dialog(
        context_,
        {[&](VariableKind kind, std::string_view name, std::string_view value) {
             return noted(declareVariable(comic, kind, name, value));
         },
         [&](VariableKind kind, std::string_view name) {
             return noted(deleteVariable(comic, kind, name));
         },
         [&](VariableKind kind, std::string_view oldName, std::string_view newName) {
             return noted(renameVariableAsked(kind, oldName, newName));
         },
         [&](VariableKind kind, std::string_view name) {
             showResults({QStringLiteral("変数「%1」への参照").arg(qtText(name)),
                          [&comic, target = NameTarget{nameKindOf(kind), std::string(name)}] {
                              return findReferences(comic, target);
                          },
                          std::nullopt});
         }},
        parent);
    dialog.run();
    objects_.flags.LoadFlags();
    UpdateStatus();
    return changed;
}

void TfrmMain::menuMenuSettingClick() {
    TfrmMenuSet dialog(context_, this);
    finishSettingsDialog(dialog.run());
}

void TfrmMain::menuSystemSettingClick() {
    TfrmSystem dialog(context_, this);
    finishSettingsDialog(dialog.run());
}

void TfrmMain::menuWindowSettingClick() {
    TfrmWindowPositionSet dialog(context_, this);
    finishSettingsDialog(dialog.run());
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
