#include "editor/script/main_window_steps.h"

#include "editor/comic_tree_view.h"
#include "editor/command_list_view.h"
#include "editor/main_window.h"
#include "editor/script/step_errors.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"

namespace pagora {

void openComicStep(TfrmMain& window, const std::filesystem::path& path) {
    try {
        window.LoadComicFile(path);
    } catch (const std::exception& error) {
        window.context().services.showErrorBox(errorText(error));
    }
}

void openPageStep(TfrmMain& window, const std::string& book, const std::string& page) {
    if (!window.objects().comic.PageExists(book, page))
        throw LookupMiss("no page \"" + toUtf8(book) + "\" / \"" + toUtf8(page) + "\"");
    window.OpenPage(book, page, 0);
}

namespace {

QTreeWidgetItem* childNamed(QTreeWidgetItem& parent, const std::string& name) {
    for (int i = 0; i < parent.childCount(); ++i)
        if (ComicTreeView::nameOf(*parent.child(i)) == name)
            return parent.child(i);
    return nullptr;
}

QTreeWidgetItem& treeNode(ComicTreeView& tree, const std::string& path) {
    QTreeWidgetItem* node = tree.topLevelItem(0);
    if (node != nullptr && !path.empty()) {
        const std::size_t slash = path.find('/');
        node = childNamed(*node, path.substr(0, slash));
        if (node != nullptr && slash != std::string::npos)
            node = childNamed(*node, path.substr(slash + 1));
    }
    if (node == nullptr)
        throw LookupMiss("no tree node \"" + toUtf8(path) + "\"");
    return *node;
}

} // namespace

void dropTreeNodeStep(TfrmMain& window, const std::string& from, const std::string& onto) {
    ComicTreeView& tree = window.tree();
    QTreeWidgetItem& source = treeNode(tree, from);
    QTreeWidgetItem& target = treeNode(tree, onto);
    tree.setCurrentItem(&source);
    emit tree.nodeDropped(&source, &target);
}

void focusLineStep(TfrmMain& window, int line) {
    CommandListView& list = window.commandList();
    if (line < 0 || line >= list.model()->rowCount())
        throw LookupMiss("no command line " + std::to_string(line));
    list.focusLine(line);
}

std::vector<std::string> openPageLines(TfrmMain& window) {
    const FileSession& session = window.file();
    TComicFileCtrl& comic = window.objects().comic;
    std::vector<std::string> lines;
    if (!comic.PageExists(session.currentBook, session.currentPage))
        return lines;
    const int count = comic.GetCommandCount(session.currentBook, session.currentPage);
    for (int i = 0; i < count; ++i)
        lines.push_back(toUtf8(comic.GetCommand(session.currentBook, session.currentPage, i)));
    return lines;
}

} // namespace pagora
