// The file session of the main window: new, open, save, the history and the
// player's test run.
#include "editor/autosave.h"
#include "editor/main_actions.h"
#include "editor/main_window.h"
#include "editor/program_launcher.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/prompter.h"

#include <QString>

namespace pagora {
namespace {

const std::string kComicFilter = "コミックファイル (*.csf);;すべてのファイル (*.*)";

} // namespace

bool TfrmMain::QuerySave() {
    if (!isModified())
        return true;
    const Answer answer = services_.prompter.message(
        MessageKind::Warning, PAGORA_CP932("ファイルは変更されています\n保存しますか？"),
        Buttons::YesNoCancel);
    if (answer == Answer::Cancel)
        return false;
    if (answer == Answer::No) {
        autosave_->discard();
        return true;
    }
    return SaveComicFile();
}

void TfrmMain::menuNewFileClick() {
    if (!QuerySave())
        return;
    StartNewComic(objects_.comic, userNameForComic());
    file_.fileName = std::string(kUntitledName);
    ShowReplacedComic();
}

void TfrmMain::menuFileOpenClick() {
    if (!QuerySave())
        return;
    FileChooser chooser;
    chooser.title = "コミックファイルを開く";
    chooser.filter = kComicFilter;
    if (!file_.isUntitled())
        chooser.startIn = file_.fileName.parent_path();
    if (const std::optional<std::filesystem::path> path = services_.prompter.openFile(chooser))
        LoadComicFile(*path);
}

void TfrmMain::LoadComicFile(const std::filesystem::path& path) {
    const std::filesystem::path fullPath = std::filesystem::absolute(path);
    objects_.comic.LoadFromFile(fullPath);
    file_.fileName = fullPath;
    if (CheckOpenedComic(objects_.comic, services_.prompter, userNameForComic()) ==
        OpenVerdict::Discarded)
        file_.fileName = std::string(kUntitledName);
    ShowReplacedComic();
    AddFileHistory(fullPath);
}

void TfrmMain::menuFileSaveClick() {
    SaveComicFile();
}

bool TfrmMain::SaveComicFile() {
    if (file_.isUntitled())
        return SaveComicFileAs();
    return saveComicTo(file_.fileName);
}

void TfrmMain::menuFileSaveNameClick() {
    SaveComicFileAs();
}

bool TfrmMain::SaveComicFileAs() {
    FileChooser chooser;
    chooser.title = "コミックファイルを保存";
    chooser.filter = kComicFilter;
    chooser.defaultSuffix = "csf";
    chooser.startIn = file_.fileName;
    chooser.confirmOverwrite = true;
    const std::optional<std::filesystem::path> chosen = services_.prompter.saveFile(chooser);
    if (!chosen) {
        UpdateStatus();
        return false;
    }
    return saveComicTo(std::filesystem::absolute(*chosen));
}

bool TfrmMain::saveComicTo(const std::filesystem::path& path) {
    // The comic takes the new name only once it is saved under it, so that a
    // failed save leaves the session as it was.
    try {
        StampForSave(objects_.comic);
        objects_.comic.SaveToFile(path);
    } catch (const IoError& error) {
        services_.showErrorBox(errorText(error));
        UpdateStatus();
        return false;
    }
    file_.fileName = path;
    objects_.comic.History().markClean();
    autosave_->discard();
    AddFileHistory(path);
    UpdateStatus();
    return true;
}

void TfrmMain::AddFileHistory(const std::filesystem::path& path) {
    addFileHistory(user_.fileHistory, path.string());
    actions_->rebuildHistory(user_.fileHistory);
}

void TfrmMain::menuHistoryClick(int entry) {
    if (entry < 0 || entry >= static_cast<int>(user_.fileHistory.size()))
        return;
    // Taken before the save question: saving may reorder the history.
    const std::string path = user_.fileHistory[static_cast<std::size_t>(entry)];
    if (path.empty() || !QuerySave())
        return;
    LoadComicFile(path);
}

void TfrmMain::menuPlayerExecFirstClick() {
    Prompter& prompter = services_.prompter;
    if (refuseUntitled(file_, prompter))
        return;
    if (!QuerySave())
        return;
    const std::filesystem::path player(user_.playerFile);
    std::error_code ignored;
    if (user_.playerFile.empty() || !std::filesystem::is_regular_file(player, ignored)) {
        prompter.warning(PAGORA_CP932("パゴラプレーヤーが見つかりません"));
        return;
    }
    // A copy first, in case the test run takes the editor down with it.
    autosave_->writeNow();
    const QString wine = services_.findWine ? services_.findWine() : QString();
    if (!services_.launcher.startDetached(planPlayerLaunch(player, file_.fileName, wine)))
        prompter.warning(PAGORA_CP932("パゴラプレーヤーを起動できません"));
}

} // namespace pagora
