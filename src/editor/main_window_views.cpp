// The tree, the command list and the error panel of the main window.
#include "editor/comic_tree_view.h"
#include "editor/command_list_view.h"
#include "editor/error_panel.h"
#include "editor/main_window.h"
#include "gui/qt_text.h"
#include "platform/files.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>

namespace pagora {
namespace {

// Sets a flag for the life of a scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag)
        : flag_(flag) {
        flag_ = true;
    }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// How often the status bar is redrawn while the error check runs.
constexpr qint64 kProgressRepaintMs = 50;

// The rebuild's message on one line, with the line it stopped at counted as
// the user can count it in the saved file's body.
QString structureNoteText(const StructureProblem& problem) {
    const QString reason =
        qtText(problem.message)
            .split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts)
            .join(QLatin1Char(' '));
    return QStringLiteral(
               "ファイルの構造が壊れています：%1（%2行目。「///」で始まる行と空行を除き、"
               "1から数えています）。この行より後のブックとページは表示されません")
        .arg(reason)
        .arg(problem.line + 1);
}

} // namespace

void TfrmMain::BuildTree() {
    {
        FlagScope guard(windowFlags_.treeUpdateGuard);
        treeView_->rebuild(objects_.comic);
    }
    showStructureNote();
}

// The books beyond a broken line are missing from the tree; the note says why.
void TfrmMain::showStructureNote() {
    const std::optional<StructureProblem>& problem = objects_.comic.LastStructureProblem();
    if (!problem)
        return;
    pnlErrorList_->showNote(structureNoteText(*problem));
    setErrorPanelHeight(errorSplitter_->height() / 3);
}

void TfrmMain::SelectTreeNode(const std::string& book, const std::string& page) {
    if (windowFlags_.treeUpdateGuard)
        return;
    FlagScope guard(windowFlags_.treeUpdateGuard);
    treeView_->selectPage(book, page);
}

void TfrmMain::TreeViewChange(QTreeWidgetItem* current) {
    if (current == nullptr || windowFlags_.treeUpdateGuard ||
        ComicTreeView::levelOf(*current) != ComicTreeView::PageLevel)
        return;
    FlagScope guard(windowFlags_.treeUpdateGuard);
    OpenPage(ComicTreeView::nameOf(*current->parent()), ComicTreeView::nameOf(*current), -1);
}

void TfrmMain::RefreshCommandList(int line) {
    lstCmdList_->refresh(file_.currentBook, file_.currentPage, line);
    UpdateStatus();
    SelectTreeNode(file_.currentBook, file_.currentPage);
}

void TfrmMain::OpenPage(const std::string& book, const std::string& page, int line) {
    file_.currentBook = book;
    file_.currentPage = page;
    RefreshCommandList(line);
}

void TfrmMain::Reanchor() {
    TComicFileCtrl& comic = objects_.comic;
    if (!comic.BookExists(file_.currentBook)) {
        const std::vector<std::string> books = comic.GetBookList();
        file_.currentBook = books.empty() ? std::string() : books.front();
    }
    if (!comic.PageExists(file_.currentBook, file_.currentPage)) {
        const std::vector<std::string> pages = comic.GetPageList(file_.currentBook);
        file_.currentPage = pages.empty() ? std::string() : pages.front();
    }
    RefreshCommandList(-1);
}

void TfrmMain::RefreshAll() {
    BuildTree();
    Reanchor();
}

void TfrmMain::ShowReplacedComic() {
    objects_.flags.LoadFlags();
    objects_.comic.History().clear();
    pnlErrorList_->clear();
    collapseErrorPanel();
    RefreshAll();
}

void TfrmMain::menuErrorCheckClick() {
    TComicFileCtrl& comic = objects_.comic;
    TErrorCheck& check = objects_.errorCheck;
    {
        BusyCursor busy;
        check.Initialize(file_.isUntitled() ? std::filesystem::path()
                                            : comicFolder(file_.fileName));
        QElapsedTimer sinceRepaint;
        sinceRepaint.start();
        for (const std::string& book : comic.GetBookList()) {
            for (const std::string& page : comic.GetPageList(book)) {
                setStatusText(qtText(CheckProgressText(book, page)));
                if (sinceRepaint.elapsed() >= kProgressRepaintMs) {
                    statusPanel2_->repaint();
                    sinceRepaint.restart();
                }
                check.CheckPage(book, page);
            }
        }
        check.CheckHeader(true);
        setStatusText(QStringLiteral("エラーチェック完了"));
    }
    setErrorPanelHeight(errorSplitter_->height() / 3);
    pnlErrorList_->showFindings(check);
}

void TfrmMain::lstErrorListDblClick() {
    TErrorCheck& check = objects_.errorCheck;
    const int line = pnlErrorList_->currentFinding();
    if (line < 0 || line >= check.ErrorCount)
        return;
    const TErrorItem& finding = check.GetErrorList(line);
    if (!objects_.comic.PageExists(finding.BookName, finding.PageName))
        return;
    OpenPage(finding.BookName, finding.PageName, finding.LineIndex);
}

} // namespace pagora
