#include "editor/comic_tree_view.h"

#include "document/comic_file.h"
#include "editor/editor_icons.h"
#include "gui/qt_text.h"

#include <QDropEvent>
#include <QHeaderView>

namespace pagora {
namespace {

constexpr int kNameRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;

} // namespace

ComicTreeView::ComicTreeView(const EditorIcons& icons, QWidget* parent)
    : QTreeWidget(parent)
    , icons_(icons) {
    setObjectName(QStringLiteral("TreeView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(19);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    // A copy, so that the finished drag never removes the dragged node.
    setDefaultDropAction(Qt::CopyAction);
    // The open page stays marked when the focus moves to the command list.
    QPalette colors = palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colors.setColor(QPalette::Inactive, role, colors.color(QPalette::Active, role));
    setPalette(colors);
}

QTreeWidgetItem* ComicTreeView::makeNode(const std::string& cp932Name, Level level) const {
    auto* node = new QTreeWidgetItem;
    node->setText(0, qtText(cp932Name));
    node->setIcon(0, icons_.tree(level));
    node->setData(0, kNameRole,
                  QByteArray(cp932Name.data(), static_cast<qsizetype>(cp932Name.size())));
    node->setData(0, kLevelRole, level);
    return node;
}

void ComicTreeView::rebuild(TComicFileCtrl& comic) {
    clear();
    static const std::string rootName = cp932Text(QStringLiteral("コミックファイル"));
    QTreeWidgetItem* root = makeNode(rootName, RootLevel);
    for (const std::string& book : comic.GetBookList()) {
        QTreeWidgetItem* bookNode = makeNode(book, BookLevel);
        QList<QTreeWidgetItem*> pages;
        for (const std::string& page : comic.GetPageList(book))
            pages.append(makeNode(page, PageLevel));
        bookNode->addChildren(pages);
        root->addChild(bookNode);
    }
    addTopLevelItem(root);
}

bool ComicTreeView::selectPage(const std::string& book, const std::string& page) {
    QTreeWidgetItem* root = topLevelItem(0);
    if (root == nullptr)
        return false;
    for (int b = 0; b < root->childCount(); ++b) {
        QTreeWidgetItem* bookNode = root->child(b);
        if (nameOf(*bookNode) != book)
            continue;
        for (int p = 0; p < bookNode->childCount(); ++p) {
            QTreeWidgetItem* pageNode = bookNode->child(p);
            if (nameOf(*pageNode) != page)
                continue;
            setCurrentItem(pageNode);
            scrollToItem(pageNode);
            return true;
        }
        return false;
    }
    return false;
}

void ComicTreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ComicTreeView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() == this) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ComicTreeView::dropEvent(QDropEvent* event) {
    if (event->source() != this) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit nodeDropped(currentItem(), itemAt(event->position().toPoint()));
}

ComicTreeView::Level ComicTreeView::levelOf(const QTreeWidgetItem& item) {
    return static_cast<Level>(item.data(0, kLevelRole).toInt());
}

std::string ComicTreeView::nameOf(const QTreeWidgetItem& item) {
    const QByteArray name = item.data(0, kNameRole).toByteArray();
    return std::string(name.constData(), static_cast<std::size_t>(name.size()));
}

} // namespace pagora
