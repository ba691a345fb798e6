#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QComboBox;

namespace pagora {

class TComicFileCtrl;

// The names and captions of a page chooser's two lists.
struct PageListLabels {
    QString bookName = QStringLiteral("cmbBook");
    QString bookCaption = QStringLiteral("ブック名");
    QString pageName = QStringLiteral("cmbPage");
    QString pageCaption = QStringLiteral("ページ名");
    // Each caption above its list, the lists flush with the chooser's edges
    // (as on a page of captioned rows); else beside it.
    bool captionsAbove = false;
};

// The page a command leads to, chosen as a book and one of its pages: the
// book list (cmbBook "ブック名" unless labelled otherwise) lists the comic's
// books, the page list (cmbPage "ページ名") the pages of the chosen book,
// refilled whenever another book is chosen. A name the comic does not hold
// leaves its list without a selection.
class PageChooser : public QWidget {
    Q_OBJECT

public:
    PageChooser(const TComicFileCtrl& comic, QWidget* parent = nullptr,
                const PageListLabels& labels = {});

    // Fills the books and selects book, then page among its pages.
    void showPage(std::string_view book, std::string_view page);
    // The chosen names (CP932), empty where nothing is chosen.
    std::string book() const;
    std::string page() const;
    // Whether both a book and a page are chosen.
    bool chosen() const;

    QComboBox& cmbBook() const { return *cmbBook_; }
    QComboBox& cmbPage() const { return *cmbPage_; }

signals:
    // The chosen book or page changed.
    void changed();

private:
    void cmbBookChange();

    const TComicFileCtrl& comic_;
    QComboBox* cmbBook_;
    QComboBox* cmbPage_;
};

} // namespace pagora
