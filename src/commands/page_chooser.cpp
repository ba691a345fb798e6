#include "commands/page_chooser.h"

#include "document/comic_file.h"
#include "gui/controls.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSignalBlocker>

namespace pagora {

PageChooser::PageChooser(const TComicFileCtrl& comic, QWidget* parent, const PageListLabels& labels)
    : QWidget(parent)
    , comic_(comic)
    , cmbBook_(makeList(labels.bookName, {}, this))
    , cmbPage_(makeList(labels.pageName, {}, this)) {
    auto* layout = new QFormLayout(this);
    if (labels.captionsAbove) {
        layout->setRowWrapPolicy(QFormLayout::WrapAllRows);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addRow(labels.bookCaption, cmbBook_);
    layout->addRow(labels.pageCaption, cmbPage_);
    connect(cmbBook_, &QComboBox::currentIndexChanged, this, &PageChooser::cmbBookChange);
    connect(cmbPage_, &QComboBox::currentIndexChanged, this, &PageChooser::changed);
}

void PageChooser::showPage(std::string_view book, std::string_view page) {
    const QSignalBlocker quiet(cmbBook_);
    fillNames(*cmbBook_, comic_.GetBookList(), book);
    cmbBookChange();
    selectName(*cmbPage_, page);
}

void PageChooser::cmbBookChange() {
    const std::string chosenBook = book();
    if (chosenBook.empty())
        cmbPage_->clear();
    else
        fillNames(*cmbPage_, comic_.GetPageList(chosenBook));
    emit changed();
}

std::string PageChooser::book() const {
    return chosenName(*cmbBook_);
}

std::string PageChooser::page() const {
    return chosenName(*cmbPage_);
}

bool PageChooser::chosen() const {
    return cmbBook_->currentIndex() >= 0 && cmbPage_->currentIndex() >= 0;
}

} // namespace pagora
