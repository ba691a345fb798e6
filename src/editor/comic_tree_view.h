#pragma once

#include <QTreeWidget>
#include <string>

namespace pagora {

class EditorIcons;
class TComicFileCtrl;

// The tree of books and pages, TreeView: the root "コミックファイル", one node
// per book and under each one node per page, in document order. Nodes keep
// their names as the document's bytes, so a name the screen cannot show
// exactly is still found.
class ComicTreeView : public QTreeWidget {
    Q_OBJECT

public:
    enum Level { RootLevel = 0, BookLevel = 1, PageLevel = 2 };

    ComicTreeView(const EditorIcons& icons, QWidget* parent = nullptr);

    // Clears the tree and adds the root, the books and their pages; nothing
    // is selected or expanded afterwards.
    void rebuild(TComicFileCtrl& comic);
    // Selects (and scrolls to) the page's node; false when there is none.
    bool selectPage(const std::string& book, const std::string& page);

    static Level levelOf(const QTreeWidgetItem& item);
    // The node's name as the document holds it (CP932).
    static std::string nameOf(const QTreeWidgetItem& item);

signals:
    // A node of this tree was dragged onto target (nullptr: onto no node).
    void nodeDropped(QTreeWidgetItem* source, QTreeWidgetItem* target);

protected:
    // Only drags that start in this tree are taken; the tree's own items
    // never move: the window moves the book or page and rebuilds the tree.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QTreeWidgetItem* makeNode(const std::string& cp932Name, Level level) const;

    const EditorIcons& icons_;
};

} // namespace pagora
