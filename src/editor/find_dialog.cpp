#include "editor/find_dialog.h"

#include "editor/editor_context.h"
#include "gui/help_topics.h"
#include "gui/qt_text.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace pagora {

TfrmFind::TfrmFind(DialogServices& services, QWidget* parent)
    : DialogFrame(services, {"TfrmFind", QStringLiteral("検索"), kFindHelpTopic}, parent) {
    edtFindText = new QLineEdit(this);
    edtFindText->setObjectName(QStringLiteral("edtFindText"));
    edtFindText->setMinimumWidth(260);
    chkMatchCase = new QCheckBox(QStringLiteral("英字の大文字と小文字を区別する"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    chkRawText = new QCheckBox(QStringLiteral("スクリプトの記述そのものを検索する"), this);
    chkRawText->setObjectName(QStringLiteral("chkRawText"));
    auto* layout = new QFormLayout;
    layout->addRow(QStringLiteral("検索する文字列"), edtFindText);
    layout->addRow(chkMatchCase);
    layout->addRow(chkRawText);
    setBody(layout);
    okButton().setText(QStringLiteral("検索"));
    okButton().setEnabled(false);
    connect(edtFindText, &QLineEdit::textChanged, this,
            [this](const QString& text) { okButton().setEnabled(!text.isEmpty()); });
}

std::optional<FindRequest> TfrmFind::run(const FindRequest& last) {
    load(last);
    if (!runModal())
        return std::nullopt;
    return request_;
}

void TfrmFind::load(const FindRequest& request) {
    request_ = request;
    edtFindText->setText(qtText(request.text));
    edtFindText->selectAll();
    chkMatchCase->setChecked(request.options.matchCase);
    chkRawText->setChecked(request.options.rawText);
}

void TfrmFind::readControls() {
    request_ = {fieldText(*edtFindText), {chkMatchCase->isChecked(), chkRawText->isChecked()}};
}

} // namespace pagora
