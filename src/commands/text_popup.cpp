#include "commands/text_popup.h"

#include "commands/variable_chooser.h"

#include <QLineEdit>
#include <QMenu>

namespace pagora {

QMenu* makeTextPopup(QWidget& owner, const TextPopupSteps& steps) {
    auto* popup = new QMenu(&owner);
    popup->setObjectName(QStringLiteral("popMemo"));
    const auto addItem = [popup](const char* name, const QString& caption,
                                 const std::function<void()>& step) {
        QAction* item = popup->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        QObject::connect(item, &QAction::triggered, popup, step);
    };
    addItem("popCut", QStringLiteral("切り取り"), steps.cut);
    addItem("popCopy", QStringLiteral("コピー"), steps.copy);
    addItem("popPaste", QStringLiteral("貼り付け"), steps.paste);
    popup->addSeparator();
    addItem("popValueFlag", QStringLiteral("数値変数の埋め込み"),
            [embed = steps.embedVariable] { embed(true); });
    addItem("popStringFlag", QStringLiteral("文字列変数の埋め込み"),
            [embed = steps.embedVariable] { embed(false); });
    return popup;
}

void attachTextPopup(QLineEdit& edit, DialogContext& context) {
    QLineEdit* box = &edit;
    QMenu* popup =
        makeTextPopup(edit, {[box] { box->cut(); }, [box] { box->copy(); }, [box] { box->paste(); },
                             [box, &context](bool numeric) {
                                 const VariableType type =
                                     numeric ? VariableType::Numeric : VariableType::String;
                                 if (const std::optional<QString> embedding =
                                         chooseEmbedding(context, type, box->window()))
                                     box->insert(*embedding);
                             }});
    edit.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        &edit, &QLineEdit::customContextMenuRequested, popup,
        [box, popup](const QPoint& position) { popup->popup(box->mapToGlobal(position)); });
}

} // namespace pagora
