#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QComboBox;

namespace pagora {

class TComicFileCtrl;

// The page a command leads to, chosen as a book and one of its pages:
// cmbBook "ブック名" lists the comic's books, cmbPage "ページ名" the pages of
// the chosen book, refilled whenever another book is chosen. A name the
// comic does not hold leaves its list without a selection.
class PageChooser : public QWidget {
    Q_OBJECT

public:
    PageChooser(const TComicFileCtrl& comic, QWidget* parent = nullptr);

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
