#include "commands/variable_chooser.h"

#include "document/flag_ctrl.h"
#include "gui/dialog_context.h"
#include "gui/qt_text.h"

#include <QListWidget>
#include <QPushButton>

namespace pagora {

std::optional<QString> chooseEmbedding(DialogContext& context, VariableType type, QWidget* parent) {
    TfrmFlagSelect chooser(context, parent);
    const std::optional<std::string> name = chooser.run(type);
    if (!name || name->empty())
        return std::nullopt;
    const QString delimiter =
        type == VariableType::Numeric ? QStringLiteral("%") : QStringLiteral("&");
    return delimiter + qtText(*name) + delimiter;
}

TfrmFlagSelect::TfrmFlagSelect(DialogContext& context, QWidget* parent)
    : DialogFrame(context.services,
                  {"TfrmFlagSelect", QStringLiteral("変数の選択"), 0, QStringLiteral("ｷｬﾝｾﾙ")},
                  parent)
    , context_(context) {
    lstFlagList = new QListWidget(this);
    lstFlagList->setObjectName(QStringLiteral("lstFlagList"));
    lstFlagList->setSelectionMode(QAbstractItemView::SingleSelection);
    setBody(lstFlagList);

    connect(lstFlagList, &QListWidget::itemClicked, this, &TfrmFlagSelect::lstFlagListClick);
    // Selecting with the keyboard counts as a click.
    connect(lstFlagList, &QListWidget::itemSelectionChanged, this,
            &TfrmFlagSelect::lstFlagListClick);
    connect(lstFlagList, &QListWidget::itemDoubleClicked, this,
            &TfrmFlagSelect::lstFlagListDblClick);
    lstFlagListClick();
}

std::optional<std::string> TfrmFlagSelect::run(VariableType type) {
    load(type);
    if (!runModal())
        return std::nullopt;
    return chosenName_;
}

void TfrmFlagSelect::load(VariableType type) {
    const TFlagCtrl& flags = context_.flags;
    const bool numeric = type == VariableType::Numeric;
    const std::vector<std::string> declared =
        numeric ? flags.GetValueFlagNames() : flags.GetStringFlagNames();
    const std::vector<std::string> builtIn =
        numeric ? TFlagCtrl::GetSpecialValueNames() : TFlagCtrl::GetSpecialStringNames();
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
    okButton().setEnabled(!lstFlagList->selectedItems().isEmpty());
}

void TfrmFlagSelect::lstFlagListDblClick() {
    btnOKClick();
}

// OK is enabled only while a name is selected.
void TfrmFlagSelect::readControls() {
    chosenName_ =
        lstFlagList->selectedItems().front()->data(Qt::UserRole).toByteArray().toStdString();
}

} // namespace pagora
