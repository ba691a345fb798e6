#include "commands/variable_chooser.h"

#include "editor/dialog_buttons.h"
#include "editor/editor_context.h"
#include "editor/qt_text.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pagora {

TfrmFlagSelect::TfrmFlagSelect(EditorContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context) {
    setObjectName(QStringLiteral("TfrmFlagSelect"));
    setWindowTitle(QStringLiteral("変数の選択"));

    lstFlagList = new QListWidget(this);
    lstFlagList->setObjectName(QStringLiteral("lstFlagList"));
    lstFlagList->setSelectionMode(QAbstractItemView::SingleSelection);
    btnOK = makeButton(QStringLiteral("OK"), "btnOK", this);
    btnOK->setDefault(true);
    btnCancel = makeButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstFlagList);
    layout->addLayout(buttons);

    connect(lstFlagList, &QListWidget::itemClicked, this, &TfrmFlagSelect::lstFlagListClick);
    // Selecting with the keyboard counts as a click.
    connect(lstFlagList, &QListWidget::itemSelectionChanged, this,
            &TfrmFlagSelect::lstFlagListClick);
    connect(lstFlagList, &QListWidget::itemDoubleClicked, this,
            &TfrmFlagSelect::lstFlagListDblClick);
    connect(btnOK, &QPushButton::clicked, this, &TfrmFlagSelect::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    lstFlagListClick();
}

void TfrmFlagSelect::fillValueNames() {
    fill(context_.flags().GetValueFlagNames(), TFlagCtrl::GetSpecialValueNames());
}

void TfrmFlagSelect::fillStringNames() {
    fill(context_.flags().GetStringFlagNames(), TFlagCtrl::GetSpecialStringNames());
}

void TfrmFlagSelect::fill(const std::vector<std::string>& declared,
                          const std::vector<std::string>& builtIn) {
    lstFlagList->clear();
    for (const auto* names : {&declared, &builtIn}) {
        for (const std::string& name : *names) {
            auto* item = new QListWidgetItem(qtText(name), lstFlagList);
            item->setData(Qt::UserRole,
                          QByteArray(name.data(), static_cast<qsizetype>(name.size())));
        }
    }
    lstFlagListClick();
}

void TfrmFlagSelect::lstFlagListClick() {
    btnOK->setEnabled(!lstFlagList->selectedItems().isEmpty());
}

void TfrmFlagSelect::lstFlagListDblClick() {
    btnOKClick();
}

void TfrmFlagSelect::btnOKClick() {
    const QList<QListWidgetItem*> selected = lstFlagList->selectedItems();
    if (selected.isEmpty())
        return;
    chosenName_ = selected.front()->data(Qt::UserRole).toByteArray().toStdString();
    accept();
}

std::string TfrmFlagSelect::SelectValueFlag(EditorContext& context, QWidget* parent) {
    return select(context, parent, true);
}

std::string TfrmFlagSelect::SelectStringFlag(EditorContext& context, QWidget* parent) {
    return select(context, parent, false);
}

std::string TfrmFlagSelect::select(EditorContext& context, QWidget* parent, bool numeric) {
    TfrmFlagSelect chooser(context, parent);
    if (numeric)
        chooser.fillValueNames();
    else
        chooser.fillStringNames();
    context.services.runModal(chooser);
    return chooser.chosenName(); // set only by a confirmed choice
}

} // namespace pagora
