#include "commands/page_chooser.h"

#include "commands/command_controls.h"
#include "document/comic_file.h"
#include "gui/controls.h"

#include <QComboBox>
#include <QFormLayout>

namespace pagora {

PageChooser::PageChooser(const TComicFileCtrl& comic, QWidget* parent)
    : QWidget(parent)
    , comic_(comic)
    , cmbBook_(makeList("cmbBook", {}, this))
    , cmbPage_(makeList("cmbPage", {}, this)) {
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("ブック名"), cmbBook_);
    layout->addRow(QStringLiteral("ページ名"), cmbPage_);
    connect(cmbBook_, &QComboBox::currentIndexChanged, this, &PageChooser::cmbBookChange);
    connect(cmbPage_, &QComboBox::currentIndexChanged, this, &PageChooser::changed);
}

void PageChooser::showPage(std::string_view book, std::string_view page) {
    const QSignalBlocker quiet(cmbBook_);
    fillNames(*cmbBook_, comic_.GetBookList());
    selectName(*cmbBook_, book);
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
